// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The control of the fault shim, a library preloaded (LD_PRELOAD) into a test
// program to make chosen system calls fail the way a full or failing disk
// makes them fail. The test finds these functions with dlsym; they are absent
// when the shim is not preloaded.

extern "C" {

// The next `count` calls of `operation` ("write", "fsync" or "rename") on a
// file whose path contains `pathPart` fail with `error`. Replaces what was
// armed before for that operation.
using QuillmereFaultArm = void (*)(const char* operation, const char* pathPart, int error, int count);
// How many failures were injected since the program started.
using QuillmereFaultsInjected = int (*)();

} // extern "C"
