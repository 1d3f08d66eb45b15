// Runs the messages queued for this thread, for code that waits on another
// program and must keep the windows alive meanwhile.
#pragma once

// Dispatches every queued message. A quit request met on the way is posted
// again, so that the program's own message loop still ends, and the call
// returns true at once.
bool DispatchPendingMessages();
