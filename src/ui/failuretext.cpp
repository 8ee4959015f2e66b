#include "ui/failuretext.h"

#include "core/failure.h"
#include "store/codepage.h"
#include "store/datafile.h"
#include "store/records.h"

#include <QDir>

namespace quorvel::ui {

namespace {

// What went wrong with the user's own folder and what to do, by the word
// for it that the launcher passes or the program found; %1 is the folder.
struct Advice {
    const char *reason;
    const char *text;
};
constexpr Advice kAdvice[] = {
    { "no-home",
        "There is no folder of your own for Quorvel, as HOME is not set. Set HOME and start "
        "Quorvel again." },
    { "read-only",
        "Your own folder %1 could not be made or filled, as your home folder is read-only. "
        "Make it writable and start Quorvel again." },
    { "full",
        "Your own folder %1 could not be filled, as the disk is full. Free some space and "
        "start Quorvel again." },
    { "not-owned",
        "Your own folder %1 belongs to another user. Remove it, or set XDG_DATA_HOME to a "
        "folder of yours, and start Quorvel again." },
    { "shared",
        "Other users may write to your own folder %1, so Quorvel does not use it. Make it "
        "yours alone (chmod go-w %1) and start Quorvel again." },
    { "parent-shared",
        "Other users may write to a folder above your own folder %1, and so put another folder "
        "in its place, so Quorvel does not use it. Make each folder above it, up to your home "
        "folder, writable by you alone (chmod go-w) and start Quorvel again." },
    { "not-a-folder",
        "Your own folder %1 is missing or no folder. Move what lies there away and start "
        "Quorvel again, which makes the folder." },
    { "blocked",
        "The category list conversion.txt in your own folder %1 is not a regular file. Move "
        "it away and start Quorvel again, which puts the bundled one there." },
};

QString ownFolderAdvice(const QString &word, const QString &wanted)
{
    const QString folder = QDir::toNativeSeparators(wanted);
    for (const Advice &advice : kAdvice) {
        if (word != QLatin1String(advice.reason))
            continue;
        // The advice for no HOME names no folder: arg() would warn of no %1.
        const QString text = QString::fromUtf8(advice.text);
        return text.contains(QLatin1String("%1")) ? text.arg(folder) : text;
    }
    return QStringLiteral("Your own folder %1 could not be set up; quorvel said why on its "
                          "standard error.")
        .arg(folder);
}

// The text a read skipped, as the reader noted it.
QString skippedText(Cause cause)
{
    switch (cause) {
    case Cause::UnclosedQuote:
        return QStringLiteral("a double quote that is not closed");
    case Cause::TextAfterQuote:
        return QStringLiteral("text after a closing quote");
    case Cause::ExtraFields:
        return QStringLiteral("more fields than a record holds");
    case Cause::NotANumber:
        return QStringLiteral("a factor that is not a number");
    case Cause::NumberTooSmall:
        return QStringLiteral("a number too small to keep");
    case Cause::TextAfterNumber:
        return QStringLiteral("text after a number");
    default:
        return {};
    }
}

// Which file failed, as far as the way to read it again goes: the category
// list, a unit file, or one the user does not read again (the upgrade).
enum class Reread { None, List, Units };

// How the user has the file read again.
QString rereadStep(Reread reread)
{
    switch (reread) {
    case Reread::List:
        return QStringLiteral("switch File > Edit off and on");
    case Reread::Units:
        return QStringLiteral("choose the category again");
    case Reread::None:
        break;
    }
    return QStringLiteral("load it again");
}

// What to do about a file another program changed.
QString afterChange(Reread reread)
{
    switch (reread) {
    case Reread::List:
        return QStringLiteral("Switch File > Edit off and on to see the category list as it is "
                              "now, then make the edit again.");
    case Reread::Units:
        return QStringLiteral("Choose the category again to see its units as they are now, then "
                              "add the unit again.");
    case Reread::None:
        break;
    }
    return {};
}

QString sentence(const Reason &reason, const Failure &failure, Reread reread)
{
    const QStringList &args = reason.args;
    const QString arg = args.value(0);
    const QString path = QDir::toNativeSeparators(failure.path());
    switch (reason.cause) {
    case Cause::None:
        return {};
    case Cause::NotRegularFile:
        return QStringLiteral("It is not a regular file.");
    case Cause::SystemError:
        return arg;
    case Cause::FileMissing:
        return QStringLiteral("The file is missing, so no edit writes it: Quorvel does not make "
                              "it anew in place of a file that may come back. Copy it back%1, "
                              "then %2.")
            .arg(reread == Reread::Units ? QStringLiteral(", or delete the category and "
                                                          "add it again to start it with "
                                                          "no units")
                                         : QString(),
                rereadStep(reread));
    case Cause::ReadNotWhole:
        return QStringLiteral("The file could not be read whole (%1%2), so it is not rewritten: "
                              "that would lose what could not be read. Mend the file, then %3.")
            .arg(arg,
                args.value(1).toInt() > 0 ? QStringLiteral(", line %1").arg(args.value(1))
                                          : QString(),
                rereadStep(reread));
    case Cause::UnclosedQuote:
    case Cause::TextAfterQuote:
    case Cause::ExtraFields:
    case Cause::NotANumber:
    case Cause::NumberTooSmall:
    case Cause::TextAfterNumber:
        return QStringLiteral("The line holds %1, which Quorvel skips when it reads the file, so "
                              "no edit rewrites the file: that would lose it. Mend the line by "
                              "hand, then %2.")
            .arg(skippedText(reason.cause), rereadStep(reread));
    case Cause::ChangedBehind:
        return QStringLiteral("The file was changed by another program since Quorvel read it, so "
                              "it is not rewritten: that would lose the change. %1")
            .arg(afterChange(reread))
            .trimmed();
    case Cause::BeingWritten:
        return QStringLiteral("Another program has the file open for writing, so it is not "
                              "rewritten: what that program writes would be lost. Close the file "
                              "there, then make the edit again.");
    case Cause::FolderLocked:
        return QStringLiteral("Another program has held the application folder locked for five "
                              "seconds, so the file is not rewritten. Close other copies of "
                              "Quorvel, then make the edit again.");
    case Cause::FolderReplaced:
        return QStringLiteral("The application folder %1 is no longer the folder Quorvel started "
                              "on: another folder was put in its place, so nothing is written "
                              "there. Start Quorvel again.")
            .arg(QDir::toNativeSeparators(arg));
    case Cause::FileReadOnly:
        return QStringLiteral("The file is read-only, so it is not rewritten. Make it writable "
                              "(chmod u+w \"%1\"), then make the edit again.")
            .arg(path);
    case Cause::FolderReadOnly:
        return QStringLiteral("The application folder is read-only. Edits need a writable "
                              "application folder: start an installed Quorvel from the menu or "
                              "as quorvel, which gives each user one, or run the program from a "
                              "folder you can write to.");
    case Cause::OutsideCodePage:
        return QStringLiteral("The text holds a character that cannot be written in the %1 code "
                              "page.")
            .arg(codePageName());
    case Cause::TooLarge:
        return QStringLiteral("The file would grow past %1 MiB, more than Quorvel reads back, so "
                              "nothing was written.")
            .arg(kMaxDataFileBytes / (1024 * 1024));
    case Cause::NotStorable:
        return QStringLiteral("The record \"%1\" cannot be stored: the file's form cannot carry "
                              "its name (a double quote or a line break in it), so nothing was "
                              "written. Mend that record by hand in the file, then load it "
                              "again.")
            .arg(arg);
    case Cause::EmptyFileLeft:
        return QStringLiteral("The empty unit file %1 made for the category could not be removed "
                              "again; remove it by hand.")
            .arg(QDir::toNativeSeparators(arg));
    case Cause::KeptAside:
        return QStringLiteral("The file that was there is kept in %1.")
            .arg(QDir::toNativeSeparators(arg));
    case Cause::OtherSaveKept:
        return QStringLiteral("Its content as the other program left it is in %1.")
            .arg(QDir::toNativeSeparators(arg));
    case Cause::MarkerNotChosen:
        return QStringLiteral("Choose --> NEW <-- in the category list to add a category.");
    case Cause::NoCategoryChosen:
        return QStringLiteral("Choose the category to delete first.");
    case Cause::UnitsNotLoaded:
        return QStringLiteral("Choose a category first: its units must be loaded before a unit "
                              "can be added to it.");
    case Cause::ListFull:
        return QStringLiteral("The category list holds %1 categories, the most it can hold.")
            .arg(kMaxRecords);
    case Cause::CategoryFull:
        return QStringLiteral("A category holds at most %1 units.").arg(kMaxRecords);
    case Cause::CategoryNotCreated:
        return QStringLiteral("The category \"%1\" cannot be created.").arg(arg);
    case Cause::CategoryNameEmpty:
        return QStringLiteral("A category needs a name.");
    case Cause::CategoryNameReserved:
        return QStringLiteral("\"%1\" cannot be a category name.").arg(arg);
    case Cause::CategoryExists:
        return QStringLiteral("The category \"%1\" exists already.").arg(arg);
    case Cause::CategoryNameControl:
        return QStringLiteral("A category name cannot hold control characters.");
    case Cause::CategoryNameCharacter:
        return QStringLiteral("A category name cannot hold the character %1.").arg(arg);
    case Cause::CategoryNameEnd:
        return QStringLiteral("A category name cannot end in a blank or a dot.");
    case Cause::DeviceName:
        return QStringLiteral("\"%1\" is reserved for a device and cannot name a file.").arg(arg);
    case Cause::CategoryNameCodePage:
        return QStringLiteral("A category name cannot hold characters outside the %1 code page.")
            .arg(codePageName());
    case Cause::NameTooLong:
        return QStringLiteral("That name is too long for a file name.");
    case Cause::UnitNameEmpty:
        return QStringLiteral("A unit needs a name.");
    case Cause::UnitNameReserved:
        return QStringLiteral("\"%1\" cannot be a unit name.").arg(arg);
    case Cause::UnitNameQuote:
        return QStringLiteral("A unit name cannot hold a double quote.");
    case Cause::UnitNameControl:
        return QStringLiteral("A unit name cannot hold line breaks or other control characters.");
    case Cause::UnitNameCodePage:
        return QStringLiteral("A unit name cannot hold characters outside the %1 code page.")
            .arg(codePageName());
    case Cause::PathSeparator:
        return QStringLiteral("The category name \"%1\" holds a path separator, so its unit file "
                              "would not lie in the application folder.")
            .arg(arg);
    case Cause::NoOwnFile:
        return QStringLiteral("\"%1\" names no unit file of its own.").arg(arg);
    case Cause::ProgramFile:
        return QStringLiteral("The unit file of the category \"%1\" would be a file of Quorvel "
                              "itself.")
            .arg(arg);
    case Cause::NoUnitFile:
        return QStringLiteral("No unit file is read or written for it: rename the category in "
                              "conversion.txt by hand.");
    case Cause::NoUnitWritten:
        return QStringLiteral("No unit is written into it.");
    case Cause::AppFolderReadOnly:
        return QStringLiteral("Quorvel may not write to its application folder %1. Edits need a "
                              "writable application folder.")
            .arg(QDir::toNativeSeparators(arg));
    case Cause::OwnFolderUnused:
        return ownFolderAdvice(arg, args.value(1));
    case Cause::UseLauncher:
        return QStringLiteral("Start Quorvel from the menu or as quorvel: that gives each user an "
                              "application folder of their own.");
    }
    return {};
}

} // namespace

QString failureText(const Failure &failure, const QString &categoryList)
{
    QString text = failure.kindText();
    if (!failure.path().isEmpty()) {
        text += QStringLiteral("\n\nFile: ") + QDir::toNativeSeparators(failure.path());
        if (failure.line() > 0)
            text += QStringLiteral("\nLine: ") + QString::number(failure.line());
    }
    const Reread reread = categoryList.isEmpty() ? Reread::None
        : failure.path() == categoryList         ? Reread::List
                                                 : Reread::Units;
    QStringList sentences;
    for (const Reason &reason : failure.reasons()) {
        if (const QString words = sentence(reason, failure, reread); !words.isEmpty())
            sentences.append(words);
    }
    if (!sentences.isEmpty())
        text += QStringLiteral("\n\n") + sentences.join(u' ');
    return text;
}

} // namespace quorvel::ui
