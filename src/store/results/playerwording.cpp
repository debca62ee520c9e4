#include "results/playerwording.h"

#include <QDir>

#include <iterator>

QString PlayerWording::fileKind(RegularFile::Kind kind)
{
    // Each kind of RegularFile, in order: a link or a special file by its name, the rest
    // (a file missing or one that reads as regular after all) as what it is not.
    static const char *const words[] = {
        nullptr,           nullptr, "символическая ссылка", "папка", "именованный канал", "сокет",
        "файл устройства", nullptr};
    static_assert(std::size(words) == std::size_t(RegularFile::Kind::Other) + 1);
    const char *word = words[int(kind)];
    return QString::fromUtf8(word ? word : "не обычный файл");
}

QString PlayerWording::path(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
