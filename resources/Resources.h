#pragma once

#include <QByteArray>
#include <QString>

// The resources compiled into the program.
namespace tolvex::resources {

inline const QString kTune = QStringLiteral(":/CUSTOM/101");
inline const QString kIcon = QStringLiteral(":/pictures/tolvex.ico");
inline const QString kLogo = QStringLiteral(":/pictures/logo.jpg");

// The bytes of a compiled-in resource; empty if there is none of that name.
QByteArray bytesOf(const QString& resource);

}  // namespace tolvex::resources
