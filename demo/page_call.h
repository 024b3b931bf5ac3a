// A page's call on Numeron9, from the click to what the page shows when the call has ended.
#pragma once

#include <QString>
#include <functional>

#include "demo/component_client.h"

namespace numeron::demo {

class MessageSink;

// Starts the call. When it ends: `show` presents the outcome (and may throw HandlerError); a
// failure clears the page's result through `replace` and shows the error box; a cancelled call
// puts "Cancelled" in its place and leaves everything else as it was.
void CallComponent(ComponentClient& numeron9, MessageSink& messages, CallRequest request,
                   std::function<void(const CallOutcome&)> show,
                   std::function<void(const QString&)> replace);

}  // namespace numeron::demo
