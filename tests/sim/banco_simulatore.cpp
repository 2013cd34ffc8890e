// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator tests' bench, with its meta-object compiled once for both.
#include "banco_simulatore.h"
