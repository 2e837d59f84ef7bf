#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The resources compiled into the program.
namespace tolvex::resources {

inline const QString kTune = QStringLiteral(":/CUSTOM/101");
inline const QString kIcon = QStringLiteral(":/pictures/icon.png");
inline const QString kLogo = QStringLiteral(":/pictures/logo.png");

// The bytes of a compiled-in resource; empty if there is none of that name.
QByteArray bytesOf(const QString& resource);

// A compiled-in PNG picture; a null image if there is none of that name.
QImage pictureOf(const QString& resource);

}  // namespace tolvex::resources
