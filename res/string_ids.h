#pragma once
// Identifiers of the program's string table, shared by the resource script and the code.

#define IDS_POWER_ACTIONS 110
#define IDS_DESCRIPTOR_KEY 111
