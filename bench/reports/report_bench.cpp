// The cost of one report command without its box: the file written (each way) and the page
// rendered to PDF, the part of printing that happens in the program.
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "reports/printer/page_printer.h"
#include "reports/report_file.h"

namespace {

using namespace tremira::reports;

DesignSnapshot referenceSnapshot() {
    return {u"220"_qs,   u"65"_qs,   u"160"_qs, u"84,672"_qs, u"Медь"_qs, u"Медь"_qs, u"Стержневой"_qs, u"1,42"_qs,
            u"10400"_qs, u"5600"_qs, u"83"_qs,  u"25"_qs,     u"6"_qs,    u"20"_qs,   u"48,19277"_qs};
}

const ReportStamp kStamp{u"07.12.2026"_qs, u"14:05:09"_qs};

void SaveReportReplacing(benchmark::State &state) {
    QTemporaryDir folder;
    const QString path = ReportFilePath(folder.path());
    for (auto _ : state) {
        if (SaveReport(path, referenceSnapshot(), kStamp, WriteMode::Replace)) state.SkipWithError("write failed");
    }
}
BENCHMARK(SaveReportReplacing);

void SaveReportAppendingToANewFile(benchmark::State &state) {
    QTemporaryDir folder;
    const QString path = ReportFilePath(folder.path());
    for (auto _ : state) {
        if (SaveReport(path, referenceSnapshot(), kStamp, WriteMode::Append)) state.SkipWithError("write failed");
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(SaveReportAppendingToANewFile);

void PrintPageToPdf(benchmark::State &state) {
    QTemporaryDir folder;
    const QList<PrintedLine> lines = PrintedReportLines(referenceSnapshot(), kStamp);
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(u"page.pdf"_qs));
        if (PrintPage(printer, lines)) state.SkipWithError("printing failed");
    }
}
BENCHMARK(PrintPageToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
