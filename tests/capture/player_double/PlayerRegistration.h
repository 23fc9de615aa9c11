// Registration of the double as the player's automation server, done by the double itself as
// local servers do (/RegServer, /UnregServer).
#pragma once

// A type library beside the executable that declares IiTunes and IITFileOrCDTrack as dispatch
// interfaces, registered so that COM marshals them across the process boundary, and the class
// iTunesApp served by this executable. False when any step fails.
bool RegisterPlayerDouble();
// Removes all of it again, the type library file included.
bool UnregisterPlayerDouble();
