// Who and where we are, for GetUserName, GetComputerName and the registry's owner.
#pragma once

#include <string>

namespace kernel {

// The login name of the user running us.
std::string LoginName();
// The user's full name from the account database, or the login name when it has none.
std::string FullUserName();

}  // namespace kernel
