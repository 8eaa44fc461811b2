// A program that runs the help reader on a help file as the help window does, for a test to
// kill while the reader runs: reader_parent <reader> <help file>.

#include <QCoreApplication>

#include "help/viewer/chm_archive.h"

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) return 2;
    return tremira::help::ChmArchive::open(arguments[1], arguments[2]) ? 0 : 1;
}
