#pragma once

// Item names and descriptions of the demo game folder, written by us.
// Items not listed have empty texts.

// standard
#include <span>

namespace demo {

struct DemoItem {
    int item;
    const char* name;  // short name
    const char* lname; // full name
    const char* desc;
};

std::span<const DemoItem> demoItems();

} // namespace demo
