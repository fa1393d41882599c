#pragma once
// A spin control bound to a text box: two arrow buttons that step a 64-bit
// value within its range and write it into the text box whenever it changes.
// The text box still takes any typed text; storeText() reads it back.

#include <QWidget>
#include <cstdint>
#include <expected>

class QLineEdit;
class QToolButton;

namespace orv {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int64_t minimum, int64_t maximum, int64_t value, QWidget* parent = nullptr);

    QLineEdit* buddy() const { return buddy_; }
    int64_t value() const { return value_; }
    int64_t minimum() const { return minimum_; }
    int64_t maximum() const { return maximum_; }
    int64_t increment() const { return increment_; }

    // The range may be reversed (minimum > maximum); a value lies in it when it
    // lies between the two bounds.
    bool inRange(int64_t v) const;
    // Keeps the value, clamped into the new range (without touching the text
    // unless the clamp changes the value).
    void setRange(int64_t minimum, int64_t maximum);
    // Clamps into the range; writes the text box when the value changes.
    void setValue(int64_t v);
    void stepBy(int steps);
    // An arrow click: steps from the number in the text box (clamped into the
    // range) and writes the result back, in hex when it was typed in hex.
    void stepFromText(int steps);

    // The number typed in the text box when it lies outside the range.
    struct OutOfRange {
        long long value;
    };
    // Reads the text box as a typed number; in range it becomes the value
    // (and the text its decimal form), otherwise nothing changes.
    std::expected<int64_t, OutOfRange> storeText();

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void valueChanged(qint64 value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int64_t clamp(int64_t v) const;
    // What `steps` arrow clicks add (the range may run downwards).
    int64_t stepSize(int steps) const;

    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int64_t minimum_;
    int64_t maximum_;
    int64_t value_;
    int64_t increment_ = 1;
};

} // namespace orv
