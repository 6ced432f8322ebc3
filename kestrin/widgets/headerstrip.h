#pragma once

// The dark band with a bold title across the top of a window or a section
// ("Kestrin", "Name", ...).

// Qt
#include <QWidget>

namespace kestrin::flat {

class HeaderStrip : public QWidget {
    Q_OBJECT

public:
    explicit HeaderStrip(const QString& title, QWidget* parent = nullptr);

    QString title() const { return title_; }
    void setTitle(const QString& title);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont titleFont() const;

    QString title_;
};

} // namespace kestrin::flat
