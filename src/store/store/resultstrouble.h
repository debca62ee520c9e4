#pragma once

#include "files/regularfile.h"

#include <QString>

// Why the results file did not take a row, for the window to put in words: what went wrong
// and the file or folder it concerns. Kind::None: the row is stored.
struct ResultsTrouble
{
    enum class Kind {
        None,
        NotOpen, // the store was never opened
        Busy, // another connection holds `path`
        NotReady, // `path` is still being copied from the installation's file
        Unsuitable, // `path` is not a results file of this game
        UnsuitableNoFolder, // neither `path` nor a new file in `folder` can be used
        NoFolder, // neither the installation folder `path` nor `folder` can be written
        SideFile, // SQLite's file `path` beside the results file is a `standing`
        Unreadable, // `path` cannot be read
        ReadOnly, // `path` is write-protected
        DiskFull, // no room on the disk for `path`
        Damaged, // `path` is damaged
        WriteError, // the disk failed to write `path`
        Refused, // `path` refused the row for another reason
    };
    // What a refused row may expect in this run.
    enum class Refusal {
        None,
        Busy, // only slow: another connection holds the file, or it is still being made
        Transient, // the disk is full or failed: worth trying again
        Lasting, // not before the next start
    };

    ResultsTrouble() = default;
    ResultsTrouble(Kind kind, const QString &path = {}, const QString &folder = {})
        : kind(kind), path(path), folder(folder)
    { }

    Kind kind = Kind::None;
    QString path;
    QString folder;
    RegularFile::Kind standing = RegularFile::Kind::Regular;

    bool stored() const { return kind == Kind::None; }
    Refusal refusal() const
    {
        switch (kind) {
        case Kind::None:
            return Refusal::None;
        case Kind::Busy:
        case Kind::NotReady:
            return Refusal::Busy;
        case Kind::DiskFull:
        case Kind::WriteError:
            return Refusal::Transient;
        default:
            return Refusal::Lasting;
        }
    }
};
