#pragma once
// An option (radio) button whose caption wraps onto further lines when the
// frame is too narrow for it, as the settings dialog's long captions need.
// text() keeps the caption exactly as given; the whole button area, caption
// included, takes the click.

#include <QRadioButton>

class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit OptionButton(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    int captionIndent() const;
    QRect captionRect(int width) const;
};
