#include "file_exists.h"

#include <QDir>
#include <QFileInfo>

namespace orv {

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString pattern = info.fileName();
    if (!pattern.contains(QLatin1Char('*')) && !pattern.contains(QLatin1Char('?')))
        return info.exists();
    const QDir folder = info.dir();
    if (!folder.exists())
        return false;
    const QStringList hits = folder.entryList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::System |
                                                             QDir::NoDotAndDotDot);
    return !hits.isEmpty();
}

} // namespace orv
