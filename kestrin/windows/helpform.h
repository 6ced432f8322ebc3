#pragma once

// THelpForm: the built-in guide. A tree of topics on the left; a click on a
// topic shows its title and text in the pane on the right. Group nodes leave
// the pane as it was. "&Done" only hides the window, so the selection and
// the text are still there the next time it opens.

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

    /// Shows the window, or brings it forward when it is already open.
    void showForm();

private:
    void buildTree();
    /// Shows the topic of the selected node, if it has one.
    void showSelected();

    QTreeWidget* tree_;
    QTextEdit* pane_;
};

} // namespace kestrin
