#pragma once
// Mail addresses as the user types them: several separated by "," or ";", each either a
// bare address or "Name <address>".

#include <string>
#include <string_view>
#include <vector>

namespace quilvane::mail {

// The entries of an address field, blanks around each dropped and empty ones skipped. A
// separator inside a quoted name does not separate.
std::vector<std::string> SplitAddressList(std::string_view field);

// The address of an entry: what stands in angle brackets, else the whole entry.
std::string MailboxOf(std::string_view entry);
// The name before the angle brackets, without quotes; empty for a bare address.
std::string DisplayNameOf(std::string_view entry);

// Whether an address can stand in the SMTP envelope: not empty, ASCII, and free of blanks,
// control characters and angle brackets (which would end the command or start another).
bool IsUsableMailbox(std::string_view mailbox);

}  // namespace quilvane::mail
