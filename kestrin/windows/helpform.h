#pragma once

// THelpForm: the built-in guide. A tree of topics on the left; choosing a
// topic, by a click or from the keyboard, shows its title and text in the
// pane on the right. Group nodes leave the pane as it was. "&Done" only
// hides the window, so the selection and the text are still there the next
// time it opens.

// Qt
#include <QWidget>

class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestrin {

class THelpForm final : public QWidget {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

private:
    void buildTree();
    /// Shows the topic of the selected node, if it has one.
    void showSelected();

    QTreeWidget* tree_ = nullptr;
    QTextEdit* pane_ = nullptr;
};

} // namespace kestrin
