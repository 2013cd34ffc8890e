// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests' bench, with its meta-object compiled once for them all.
#include "banco.h"
