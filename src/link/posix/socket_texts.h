// What the socket backend says about a peer it does not take. %1, %2 are filled in with
// fillInAll().
#pragma once

#include "common/lang_text.h"

namespace tarvik::texts {

// A socket peer that was not taken, because it could be a fake collecting the firmware
// written to it: %1 the socket's path, %2 the peer's user id.
constexpr LangText kPeerRefused{
    "Das Programmiergerät an „%1“ läuft unter einem anderen Benutzer (UID %2) und wird nicht "
    "verwendet.",
    "The programmer at \"%1\" runs as another user (uid %2) and is not used.",
    "Программатор на «%1» работает от имени другого пользователя (UID %2) и не используется."};

} // namespace tarvik::texts
