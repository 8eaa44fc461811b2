#include "help/viewer/chm_archive.h"

#include <QFile>

#include <chm_lib.h>

namespace tremira::help {

namespace {

std::optional<chmUnitInfo> resolve(chmFile *file, const QString &storedPath) {
    chmUnitInfo unit{};
    const QByteArray path = storedPath.toUtf8();
    if (chm_resolve_object(file, path.constData(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    return unit;
}

int collectFile(chmFile *, chmUnitInfo *unit, void *context) {
    static_cast<QStringList *>(context)->append(QString::fromUtf8(unit->path));
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

void ChmArchive::Closer::operator()(chmFile *file) const { chm_close(file); }

std::optional<ChmArchive> ChmArchive::open(const QString &fileName) {
    chmFile *file = chm_open(QFile::encodeName(fileName).constData());
    if (!file) return std::nullopt;
    return ChmArchive(file);
}

std::optional<QByteArray> ChmArchive::read(const QString &storedPath) const {
    std::optional<chmUnitInfo> unit = resolve(m_file.get(), storedPath);
    if (!unit) return std::nullopt;
    QByteArray content(static_cast<qsizetype>(unit->length), Qt::Uninitialized);
    const LONGINT64 got = chm_retrieve_object(m_file.get(), &*unit, reinterpret_cast<unsigned char *>(content.data()),
                                              0, static_cast<LONGINT64>(unit->length));
    if (got != static_cast<LONGINT64>(unit->length)) return std::nullopt;
    return content;
}

bool ChmArchive::contains(const QString &storedPath) const { return resolve(m_file.get(), storedPath).has_value(); }

QStringList ChmArchive::files() const {
    QStringList paths;
    chm_enumerate(m_file.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectFile, &paths);
    return paths;
}

}  // namespace tremira::help
