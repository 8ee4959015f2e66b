#pragma once

#include <QString>

#include <exception>

namespace quorvel {

// What went wrong, in the words the user reads.
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
    Refused, // an edit the program will not make; detail() says why
};

// A failure abandons the operation at the failing step. It carries its kind
// and, where a file is involved, the file's path and the line being read.
class Failure : public std::exception {
public:
    explicit Failure(FailureKind kind, QString path = {}, int line = 0, QString detail = {});

    FailureKind kind() const { return m_kind; }
    const QString &path() const { return m_path; }
    int line() const { return m_line; } // 0 when no line applies
    const QString &detail() const { return m_detail; }

    // The kind in plain words, e.g. "Division by zero".
    QString kindText() const;
    // The whole message for a message box: kind, file, line and detail.
    QString message() const;

    // The kind in plain words; the message is built only when it is shown.
    const char *what() const noexcept override;

private:
    FailureKind m_kind;
    QString m_path;
    int m_line;
    QString m_detail;
};

QString kindText(FailureKind kind);

} // namespace quorvel
