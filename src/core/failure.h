#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <exception>

namespace quorvel {

// What went wrong. Each kind has a name (kindText()), the one the user reads
// first.
enum class FailureKind {
    Overflow,
    DivisionByZero,
    SubscriptOutOfRange,
    FileNotFound,
    InputPastEndOfFile,
    PathFileAccessError,
    PermissionDenied,
    DiskFull,
    BadFileNameOrNumber,
    DeviceIOError,
    FileTooLarge,
    Refused, // an edit the program will not make; the reasons say why
};

// Why a failure came about, where its kind does not say it all. The facts a
// cause names are its reason's args, listed here after the cause; the words
// the user reads are composed in the windows.
enum class Cause {
    None,
    // A read.
    NotRegularFile, // a device, a pipe or another file that is no plain file
    SystemError, // the system's own description
    // Why a file that was read is not rewritten; the failure names the file.
    FileMissing, // it was not there: no edit makes it anew
    ReadNotWhole, // the read's kind, and its line or "0"
    UnclosedQuote, // skipped text, on the failure's line: a double quote not closed,
    TextAfterQuote, // text after a closing quote,
    ExtraFields, // more fields than a record holds,
    NotANumber, // a factor that is not a number,
    NumberTooSmall, // a number too small to keep,
    TextAfterNumber, // text after a number
    // Why a write did not happen; the failure names the file.
    ChangedBehind, // another program changed it since it was read
    BeingWritten, // another program has it open for writing
    FolderLocked, // another program held the folder's lock too long
    FolderReplaced, // the folder: another one was put in its place
    FileReadOnly,
    FolderReadOnly,
    OutsideCodePage, // the text holds a character the code page lacks
    TooLarge, // the file would grow past what the program reads back
    NotStorable, // a record's name, which the file's form cannot carry
    EmptyFileLeft, // the path of an empty unit file made and not removed again
    KeptAside, // where the file that was there is kept, as it could not be put back
    OtherSaveKept, // where the other program's content is kept
    // An edit refused by what is chosen.
    MarkerNotChosen,
    NoCategoryChosen,
    UnitsNotLoaded,
    ListFull,
    CategoryFull,
    // A name refused; the next reason says why.
    CategoryNotCreated, // the name
    CategoryNameEmpty,
    CategoryNameReserved, // the name: the marker, a program file, "." or ".."
    CategoryExists, // the category listed under that name
    CategoryNameControl,
    CategoryNameCharacter, // the character
    CategoryNameEnd, // ends in a blank or a dot
    DeviceName, // the name
    CategoryNameCodePage,
    NameTooLong,
    UnitNameEmpty,
    UnitNameReserved, // the name
    UnitNameQuote,
    UnitNameControl,
    UnitNameCodePage,
    // A category whose unit file is no plain file of its own.
    PathSeparator, // the category
    NoOwnFile, // the category: "." or ".."
    ProgramFile, // the category
    NoUnitFile, // so no unit file is read or written for it
    NoUnitWritten, // so no unit is written into it
    // An application folder the program may not write.
    AppFolderReadOnly, // the folder
    OwnFolderUnused, // the launcher's word for why, and the folder it was
    UseLauncher, // an installed program started without its launcher
};

struct Reason {
    Reason(Cause cause = Cause::None, QStringList args = {}) // NOLINT: a cause is a reason
        : cause(cause)
        , args(std::move(args))
    {
    }

    Cause cause;
    QStringList args;
};

// A failure abandons the operation at the failing step. It carries its kind,
// where a file is involved the file's path and the line being read, and its
// reasons, the first one the cause, each later one what follows from it.
class Failure : public std::exception {
public:
    explicit Failure(FailureKind kind, QString path = {}, int line = 0, Cause cause = Cause::None,
        QStringList args = {});

    FailureKind kind() const { return m_kind; }
    const QString &path() const { return m_path; }
    int line() const { return m_line; } // 0 when no line applies
    const QList<Reason> &reasons() const { return m_reasons; }
    Cause cause() const { return m_reasons.isEmpty() ? Cause::None : m_reasons.first().cause; }

    // Adds a reason after the others.
    Failure &because(Cause cause, QStringList args = {});
    Failure &because(const Reason &reason) { return because(reason.cause, reason.args); }

    // The kind's name, e.g. "Division by zero".
    QString kindText() const;
    const char *what() const noexcept override;

private:
    FailureKind m_kind;
    QString m_path;
    int m_line;
    QList<Reason> m_reasons;
};

QString kindText(FailureKind kind);

} // namespace quorvel
