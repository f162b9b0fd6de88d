// A file's extended attributes, its access control list among them, carried
// from a file to the one that replaces it: a library file shared through an
// access list must stay as reachable, and as closed, after a save.
#pragma once

// Makes to's extended attributes those of from: every one from has is set on
// to, and any other to has (a folder's default list, given on creation) is
// removed. False, errno set, when one cannot be read, set or removed. A file
// system without extended attributes has none to carry.
bool copy_extended_attributes(int from, int to);
