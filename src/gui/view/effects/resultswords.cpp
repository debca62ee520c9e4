#include "view/effects/resultswords.h"

#include <QDir>

#include <cerrno>
#include <iterator>

namespace {
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

// What stands at a path instead of a file: "символическая ссылка", "папка", ...
QString ResultsWords::fileKind(RegularFile::Kind kind)
{
    // Each kind of RegularFile, in order: a link or a special file by its name, the rest
    // (a file missing or one that reads as regular after all) as what it is not.
    static const char *const words[] = {nullptr,
                                        nullptr,
                                        QT_TR_NOOP("символическая ссылка"),
                                        QT_TR_NOOP("папка"),
                                        QT_TR_NOOP("именованный канал"),
                                        QT_TR_NOOP("сокет"),
                                        QT_TR_NOOP("файл устройства"),
                                        nullptr};
    static_assert(std::size(words) == std::size_t(RegularFile::Kind::Other) + 1);
    const char *word = words[int(kind)];
    return tr(word ? word : QT_TR_NOOP("не обычный файл"));
}

QString ResultsWords::trouble(const ResultsTrouble &trouble)
{
    // Each kind of ResultsTrouble, in order: %1 its path, %2 its folder or what stands there.
    static const char *const words[]
        = {"",
           QT_TR_NOOP("файл результатов не открыт"),
           QT_TR_NOOP("файл %1 занят"),
           QT_TR_NOOP("файл %1 еще не готов"),
           QT_TR_NOOP("файл %1 не подходит для результатов"),
           QT_TRANSLATE_NOOP("ResultsWords",
                             "файл %1 не подходит для результатов, а в папку %2 нельзя записать"),
           QT_TR_NOOP("ни в папку игры %1, ни в папку %2 нельзя записать"),
           QT_TR_NOOP("на месте файла %1 находится %2"),
           QT_TR_NOOP("файл %1 не читается"),
           QT_TR_NOOP("файл %1 защищен от записи"),
           QT_TR_NOOP("на диске не осталось места для файла %1"),
           QT_TR_NOOP("файл %1 поврежден"),
           QT_TR_NOOP("ошибка записи в файл %1"),
           QT_TR_NOOP("файл %1 не принимает запись")};
    static_assert(std::size(words) == std::size_t(ResultsTrouble::Kind::Refused) + 1);
    const QString text = tr(words[int(trouble.kind)]);
    const QString second = trouble.kind == ResultsTrouble::Kind::SideFile
        ? fileKind(trouble.standing)
        : shown(trouble.folder);
    if (text.contains(QLatin1String("%2")))
        return text.arg(shown(trouble.path), second);
    if (text.contains(QLatin1String("%1")))
        return text.arg(shown(trouble.path));
    return text;
}

// Why the pending file could not keep a row.
QString ResultsWords::problem(const PendingRows::Problem &problem)
{
    if (problem.standing != RegularFile::Kind::Regular
        && problem.standing != RegularFile::Kind::Missing)
        return tr("на его месте находится ") + fileKind(problem.standing);
    if (problem.busy)
        return tr("его занимает другая копия игры");
    switch (problem.error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return problem.fileRefused ? tr("он закрыт для записи") : tr("в его папку нельзя записать");
    case ENOSPC:
    case EDQUOT:
        return tr("на диске не осталось места");
    case ENOTDIR:
    case EEXIST:
        return tr("его папку нельзя создать");
    case ENOENT:
        return tr("у игры нет папки для своих данных");
    default:
        return tr("ошибка записи на диск");
    }
}

QString ResultsWords::pendingShown(const QString &pendingFile)
{
    return pendingFile.isEmpty() ? tr("в папке данных игры") : shown(pendingFile);
}

QString ResultsWords::notice(const ResultsNotice &notice)
{
    const QString path = shown(notice.path);
    const QString goes
        = tr("\nРезультаты игр сохраняются в файле %1.").arg(shown(notice.resultsFile));
    if (notice.kind == ResultsNotice::Kind::ReadOnlyFolder)
        return tr("Папка игры %1 закрыта для записи.").arg(path) + goes;
    // Only what is known: a file that is no SQLite database may as well be ours, damaged.
    QString found;
    switch (notice.found) {
    case ResultsFile::Kind::NotAFile:
        found = tr("На месте файла результатов %1 находится %2.")
                    .arg(path, fileKind(notice.standing));
        break;
    case ResultsFile::Kind::OtherTable:
        found = tr("Файл %1 не является файлом результатов этой игры.").arg(path);
        break;
    case ResultsFile::Kind::Damaged:
        found = tr("Файл результатов %1 поврежден.").arg(path);
        break;
    default:
        found = tr("Файл %1 не является файлом результатов этой игры или поврежден.").arg(path);
    }
    return found + tr(" Игра оставляет его без изменений.") + goes;
}

QString ResultsWords::takeNotice(ResultsStore &store)
{
    const auto taken = store.takeNotice();
    return taken ? notice(*taken) : QString();
}

QString ResultsWords::outcome(const ResultsKeeper::Outcome &outcome)
{
    using Refusal = ResultsTrouble::Refusal;
    using Kind = ResultsKeeper::Outcome::Kind;
    const Refusal refusal = outcome.trouble.refusal();
    // Probably only slow: the player hears of it if it lasts.
    if (outcome.kind == Kind::Stored
        || (refusal == Refusal::Busy && (outcome.kind == Kind::Kept || outcome.problem.busy)))
        return {};
    const QString head = tr("Результат игры не сохранен: %1.").arg(trouble(outcome.trouble));
    const QString pending = pendingShown(outcome.pendingFile);
    if (outcome.kind == Kind::Unkept)
        return head
            + tr("\nЗаписать его в файл %1 тоже нельзя: %2.\nПока игра открыта, она "
                 "будет пытаться сохранить результат; после выхода из игры он будет "
                 "потерян.")
                  .arg(pending, problem(outcome.problem));
    if (refusal == Refusal::Transient)
        return head
            + tr("\nОн записан в файл %1, и игра попробует перенести его в файл "
                 "результатов еще раз.")
                  .arg(pending);
    return head
        + tr("\nОн записан в файл %1; игра перенесет его в файл результатов при "
             "следующем запуске, если запись в него будет возможна.")
              .arg(pending);
}

QString ResultsWords::stillWaiting(const ResultsTrouble &why, const QString &pendingFile)
{
    if (why.refusal() == ResultsTrouble::Refusal::Busy)
        return tr("Результат игры пока не сохранен: %1.\nОн записан в файл %2, и игра "
                  "перенесет его в файл результатов, когда тот освободится.")
            .arg(trouble(why), pendingShown(pendingFile));
    return tr("Результаты игр, ожидающие в файле %1, нельзя перенести в файл "
              "результатов: %2.\nОни останутся там, и игра попробует перенести их при "
              "следующем запуске.")
        .arg(pendingShown(pendingFile), trouble(why));
}
