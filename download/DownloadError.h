#pragma once

// A download-window or serial-port failure with the message the user sees.
// what() holds the same message in UTF-8.

#include <QString>

#include <stdexcept>

class EDownloadError : public std::runtime_error {
public:
    explicit EDownloadError(const QString& message)
        : std::runtime_error(message.toStdString()), Text(message) {}
    QString Message() const { return Text; }

private:
    QString Text;
};
