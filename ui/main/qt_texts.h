#pragma once
// Qt's own texts in Russian: the buttons of the program's boxes, a field's context menu.

#include <QString>
#include <QTranslator>

#include <atomic>
#include <mutex>

namespace tremira::ui {

// A translation file read the first time Qt asks for one of its texts, not when installed: the
// program's start shows no box or menu of Qt's own, so the file stays unread through it.
class QtTextsOnFirstUse final : public QTranslator {
public:
    QtTextsOnFirstUse(QString fileName, QString folder, QObject *parent = nullptr);

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    // Empty until the file is read: installed unread, it changes no text Qt already shows.
    bool isEmpty() const override;

private:
    const QTranslator &file() const;

    const QString m_fileName;
    const QString m_folder;
    mutable std::once_flag m_reading;
    mutable std::atomic<bool> m_read = false;
    mutable QTranslator m_file;
};

}  // namespace tremira::ui
