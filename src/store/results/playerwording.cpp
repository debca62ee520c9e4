#include "results/playerwording.h"

QString PlayerWording::fileKind(RegularFile::Kind kind)
{
    switch (kind) {
    case RegularFile::Kind::Link:
        return QStringLiteral("символическая ссылка");
    case RegularFile::Kind::Folder:
        return QStringLiteral("папка");
    case RegularFile::Kind::Pipe:
        return QStringLiteral("именованный канал");
    case RegularFile::Kind::Socket:
        return QStringLiteral("сокет");
    case RegularFile::Kind::Device:
        return QStringLiteral("файл устройства");
    case RegularFile::Kind::Missing:
    case RegularFile::Kind::Regular:
    case RegularFile::Kind::Other:
        break;
    }
    return QStringLiteral("не обычный файл");
}
