#pragma once
// The program's icon: one identifier for the resource script and for every window that shows it.
#define IDI_PALVENOR 1
