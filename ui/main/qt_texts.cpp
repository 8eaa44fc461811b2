#include "ui/main/qt_texts.h"

#include <utility>

namespace tremira::ui {

QtTextsOnFirstUse::QtTextsOnFirstUse(QString fileName, QString folder, QObject *parent)
    : QTranslator(parent), m_fileName(std::move(fileName)), m_folder(std::move(folder)) {}

QString QtTextsOnFirstUse::translate(const char *context, const char *sourceText, const char *disambiguation,
                                     int n) const {
    return file().translate(context, sourceText, disambiguation, n);
}

bool QtTextsOnFirstUse::isEmpty() const { return !m_read || m_file.isEmpty(); }

// Qt may ask from any thread: the file is read once, by whichever asks first.
const QTranslator &QtTextsOnFirstUse::file() const {
    std::call_once(m_reading, [this] {
        // A missing file leaves Qt's English texts, as an uninstalled translation would.
        (void)m_file.load(m_fileName, m_folder);
        m_read = true;
    });
    return m_file;
}

}  // namespace tremira::ui
