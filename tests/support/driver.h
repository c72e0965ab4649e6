// Everything an end-to-end test needs to work the program like a user.
#pragma once

#include "tests/support/files.h"
#include "tests/support/input.h"
#include "tests/support/message_box.h"
#include "tests/support/program.h"
#include "tests/support/wait.h"
#include "tests/support/window_search.h"
