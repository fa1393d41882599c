#pragma once
// A picture box: shows an image or a plain background colour and reports
// clicks.

#include <QLabel>
#include <cstdint>

namespace orv {

class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // colour is 0x00RRGGBB.
    void setBackColour(uint32_t colour);
    // The system's button-face colour, as a disabled colour list shows.
    void setButtonFace();
    uint32_t backColour() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace orv
