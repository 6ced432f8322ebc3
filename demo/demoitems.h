#pragma once

// Item names and descriptions of the demo game folder, written by us.
// Items not listed have empty texts.

// standard
#include <span>
#include <string>

namespace demo {

struct DemoItem {
    int item;
    const char* name;  // short name
    const char* lname; // full name
    const char* desc;
};

/// The items written by hand: weapons, the ammunition of each caliber,
/// armour and attachments.
std::span<const DemoItem> demoItems();

/// Short name, full name and description of all 351 items: the items above,
/// and plausible texts made up for the rest (ammunition variants, armour
/// grades, explosives, equipment and keys).
void demoTexts(std::string (&name)[351], std::string (&lname)[351], std::string (&desc)[351]);

} // namespace demo
