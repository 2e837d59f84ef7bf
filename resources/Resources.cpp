#include "Resources.h"

#include <QFile>
#include <QImageReader>

namespace tolvex::resources {

QByteArray bytesOf(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Told the format, and not to look for another, the reader uses the toolkit's own PNG reader;
// otherwise it loads every image-format plugin to ask it first, at each start.
QImage pictureOf(const QString& resource) {
    QImageReader reader(resource, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace tolvex::resources
