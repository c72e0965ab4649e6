// The whole milliseconds a timed sleep of the system is asked for.
#pragma once

namespace tavrel {

// From `nowSeconds` to about `untilSeconds`, rounded to the nearest whole
// millisecond, so a sleep asked to end a millisecond on sleeps one and never
// more than half a millisecond past the time asked for (the system's own
// lateness comes on top). 0 when the time is less than half a millisecond
// away or past; at most a day, so no sleep ever means "for ever".
int sleepMilliseconds(double nowSeconds, double untilSeconds);

}  // namespace tavrel
