// Deletes an event's folder with everything in it, without ever leaving it:
// each folder is opened relative to the one above it and never through a
// symbolic link (openat with O_NOFOLLOW | O_DIRECTORY), so a link inside the
// event, or a folder swapped for one while the deletion runs, is removed itself
// and what it points to is left alone. Folders on another file system (a mount
// inside the event) are not entered. A folder that lacks the owner's rights
// for the deletion is given them first. Folders more than MAX_DEPTH levels
// below the event are not entered either (the store has 6 levels).
#pragma once

#include <string>
#include <vector>

class CTreeDeleter {
public:
    static constexpr int MAX_DEPTH = 16;

    // Deletes strFolder (absolute or relative; "/" and an empty path are
    // refused). When strFolder is itself a symbolic link the link is removed.
    // Returns the folders that could not be deleted, deepest first; empty on
    // success, also when strFolder did not exist.
    static std::vector<std::string> DeleteTree(const std::string& strFolder);

private:
    struct Walk;
};
