#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Every file the generator makes, by its path under the repository's root, and how
// to write them all. The list is the single source for what belongs to the media.
class MediaSet
{
public:
    struct File
    {
        QString path;
        QByteArray bytes;
    };

    // Makes every file in memory; the same program always makes the same bytes.
    static QList<File> build();
    // Writes every file under root, creating folders; false (with a message on stderr)
    // when one cannot be written.
    static bool writeAll(const QString &root);

private:
    static void addPictures(QList<File> &files);
    static void addSounds(QList<File> &files);
    static void addWindowPictures(QList<File> &files);
    static void addIcons(QList<File> &files);
};
