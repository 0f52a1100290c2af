#pragma once
// Idle-time work: runs whenever the event loop has handled what was pending
// and is about to wait. Handlers must be cheap and touch a widget only when
// its value changed.
#include <QObject>
#include <functional>

namespace tk {

// Calls `work` at every idle moment while `context` lives.
void onIdle(QObject *context, std::function<void()> work);

} // namespace tk
