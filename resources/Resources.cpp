#include "Resources.h"

#include <QFile>

namespace tolvex::resources {

QByteArray bytesOf(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace tolvex::resources
