#include "reports/report_lines.h"

#include <array>

#include "reports/number_format.h"

namespace tremira::reports {
namespace {

// What tells the two layouts apart. "I", "II" and "cm2" are Latin letters, the "А" of "(А)"
// is Cyrillic.
struct Labels {
    QString timePrefix;
    std::array<QString, 8> inputs;
    QString overallPower;
    bool requiredPowerInColumn;
};

const Labels &fileLabels() {
    static const Labels labels{
        QStringLiteral("Время: "),
        {QStringLiteral("Напряжение сети               :"), QStringLiteral("Выходное напряжение           :"),
         QStringLiteral("Максимальный сварочный ток    :"), QStringLiteral("Сечение трансформатора        :"),
         QStringLiteral("Материал  I обмотки           :"), QStringLiteral("Материал II обмотки           :"),
         QStringLiteral("Тип сердечника                :"), QStringLiteral("Макс. индукция сердечника (Тл):")},
        QStringLiteral("Габаритная мощность трансформатора (вт):"),
        true,
    };
    return labels;
}

const Labels &printedLabels() {
    static const Labels labels{
        QStringLiteral(" Время: "),
        {QStringLiteral("Напряжение сети: "), QStringLiteral("Выходное напряжение       :"),
         QStringLiteral("Максимальный сварочный ток:"), QStringLiteral("Сечение трансформатора    :"),
         QStringLiteral("Материал  I обмотки       :"), QStringLiteral("Материал II обмотки       :"),
         QStringLiteral("Тип сердечника            :"), QStringLiteral("Макс. индукция сердечника (Тл): ")},
        QStringLiteral("Габаритная мощность трансформатора( вт):"),
        false,
    };
    return labels;
}

PrintedLine title(const QString &text) { return {text, std::nullopt, true}; }
PrintedLine plain(const QString &text) { return {text, std::nullopt, false}; }
PrintedLine valued(const QString &label, const QString &value) { return {label, value, false}; }

// Lines 1 to 24 of either layout, in the order the fields are read.
QList<PrintedLine> commonLayout(const Labels &labels, const DesignSnapshot &snapshot, const ReportStamp &stamp) {
    const QString requiredPower = QStringLiteral("Требуемая  мощность трансформатора (вт):");
    const std::array<QString, 8> inputValues{snapshot.Text4,  snapshot.Text3,  snapshot.Text2,  snapshot.Text1,
                                             snapshot.Combo1, snapshot.Combo2, snapshot.Combo3, snapshot.Text10};
    QList<PrintedLine> lines{
        plain(QString()),         plain(QStringLiteral("Дата: ") + stamp.date + labels.timePrefix + stamp.time),
        plain(QString(32, u'-')), title(QStringLiteral("Входные данные")),
        plain(QString(51, u'=')),
    };
    for (std::size_t i = 0; i < inputValues.size(); ++i) lines.append(valued(labels.inputs[i], inputValues[i]));
    lines.append({
        plain(QString()),
        title(QStringLiteral("Расчетные данные")),
        plain(QString(52, u'=')),
        valued(labels.overallPower, snapshot.Text5),
        labels.requiredPowerInColumn ? valued(requiredPower, snapshot.Text11) : plain(requiredPower + snapshot.Text11),
        valued(QStringLiteral("Количество витков  I обмотки   :"), snapshot.Text6),
        valued(QStringLiteral("Количество витков II обмотки   :"), snapshot.Text7),
        valued(QStringLiteral("Сечение провода  I обмотки(cm2):"), snapshot.Text8),
        valued(QStringLiteral("Сечение провода II обмотки(cm2):"), snapshot.Text9),
        valued(QStringLiteral("Максимальный ток I обмотки  (А):"), FormatTwoDecimals(snapshot.Text12)),
        plain(QString(52, u'*')),
    });
    return lines;
}

// The label padded to the value column (no label reaches it, the longest has 40 characters).
QString fileLine(const PrintedLine &line) {
    if (!line.value) return line.label;
    return line.label.leftJustified(kValueColumn - 1, u' ') + *line.value;
}

}  // namespace

QStringList FileReportLines(const DesignSnapshot &snapshot, const ReportStamp &stamp) {
    QStringList lines;
    for (const PrintedLine &line : commonLayout(fileLabels(), snapshot, stamp)) lines.append(fileLine(line));
    lines.append(QString());
    return lines;
}

QList<PrintedLine> PrintedReportLines(const DesignSnapshot &snapshot, const ReportStamp &stamp) {
    return commonLayout(printedLabels(), snapshot, stamp);
}

}  // namespace tremira::reports
