#pragma once
// The edge of every event handler: an error raised inside it ends the handler
// and is shown in the standard error box; the program goes on.

#include <exception>
#include <new>
#include <utility>

#include "engine/Errors.h"
#include "ui/QtText.h"
#include "platform/Messages.h"

namespace quillon {

template <class Handler>
bool ShowErrors(Messages& messages, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const QuillonError& e) {
        // The whole text: a damaged file can put a NUL byte into it.
        messages.Error(FromEngine(e.message()));
    } catch (const std::bad_alloc&) {
        messages.Error(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        messages.Error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace quillon
