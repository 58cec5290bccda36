#pragma once
// Identifiers of the main program's own resources (the controls number theirs elsewhere).

#define IDI_PROGRAM 1
#define IDB_CONTACT_STRIP 200  // four ids: one per screen scale
