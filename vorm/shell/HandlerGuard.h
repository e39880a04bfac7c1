#pragma once

#include "UserDialogs.h"

#include <QString>
#include <exception>
#include <utility>

class QWidget;

// The generic error box: an error that escapes a window's handler ends that handler, its
// message is shown, and the window goes on working.
class HandlerGuard {
public:
    template <typename Handler>
    static bool Run(UserDialogs& dialogs, QWidget* parent, Handler&& handler) {
        try {
            std::forward<Handler>(handler)();
            return true;
        } catch (const std::exception& error) {
            dialogs.ShowError(parent, QString::fromStdString(error.what()));
        }
        return false;
    }
};
