#pragma once

// The fixed content of the Help window: the topic tree and the help texts.
// Both are plain tables; the window only shows them.
//
// A node shows the text of the first topic whose title equals the node's
// text exactly (case and blanks count). Group nodes have no topic of their
// own, except "Heavy Weapons" under "Weapons", which shares its title, and
// so its text, with the trait topic.

// standard
#include <span>
#include <string_view>

namespace kestrin::help {

struct Topic {
    const char* title; // UTF-8
    const char* text;  // UTF-8; '\n' breaks the line
};

/// One node of the topic tree, in depth-first order: a node's children
/// follow it directly, one level deeper.
struct TreeNode {
    int depth; // 0 at the root
    const char* text;
};

/// Every topic, in the order the tree lists them.
std::span<const Topic> topics();

/// The tree, depth first.
std::span<const TreeNode> tree();

/// The first topic titled exactly `title`; null when none is.
const Topic* findTopic(std::string_view title);

} // namespace kestrin::help
