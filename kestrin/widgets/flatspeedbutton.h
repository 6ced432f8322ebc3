#pragma once

// A flat button that answers every mouse button, not only the left one: the
// attribute steppers step while any button is held.

// Qt
#include <QAbstractButton>

namespace kestrin::flat {

class FlatSpeedButton : public QAbstractButton {
    Q_OBJECT

public:
    /// A caption button; an '&' in `text` marks the access key ("&Save Custom").
    explicit FlatSpeedButton(const QString& text, QWidget* parent = nullptr);
    /// A small (16 x 11) button showing an arrow, Qt::UpArrow or Qt::DownArrow.
    explicit FlatSpeedButton(Qt::ArrowType arrow, QWidget* parent = nullptr);

    Qt::ArrowType arrow() const { return arrow_; }
    void setArrow(Qt::ArrowType arrow);

    /// The mouse button of the press in progress, Qt::NoButton when none.
    /// pressed() and released() are emitted for every mouse button; clicked()
    /// only for the left one (and the access key).
    Qt::MouseButton heldButton() const { return held_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void init();
    /// Ends a press that will never see its release (disabled, hidden).
    void abandonPress();

    Qt::ArrowType arrow_ = Qt::NoArrow;
    Qt::MouseButton held_ = Qt::NoButton;
};

} // namespace kestrin::flat
