#pragma once

#include <QString>
#include <stdexcept>

// An error whose message is shown to the user as it stands: a handler that lets it escape
// ends, the generic error box shows the text and the window goes on working.
class VormError : public std::runtime_error {
public:
    explicit VormError(const QString& message) : std::runtime_error(message.toStdString()) {}

    QString Message() const { return QString::fromStdString(what()); }
};
