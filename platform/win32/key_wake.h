// Key changes anywhere on the desktop as messages that wake our waits.
#pragma once

namespace tavrel::win32 {

// Asks for the keyboard's raw input, also while another program's window has
// the focus, delivered to a message-only window of ours whose messages do
// nothing but end a wait. Not a keyboard hook: no key passes through us, and
// the messages are dropped unread. True when the system took the request.
bool startKeyWake();
// Gives the raw input back.
void stopKeyWake();

}  // namespace tavrel::win32
