#include "DBNavigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace ui {

namespace {

// The navigator's glyphs, drawn rather than shipped so the engine carries no picture files.
QIcon glyph(DBNavigator::Button b)
{
    const int s = 16;
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x3a, 0x70));

    auto triangle = [&](qreal x, bool left) {
        QPainterPath path;
        if (left) {
            path.moveTo(x + 6, 3);
            path.lineTo(x, 8);
            path.lineTo(x + 6, 13);
        } else {
            path.moveTo(x, 3);
            path.lineTo(x + 6, 8);
            path.lineTo(x, 13);
        }
        path.closeSubpath();
        p.drawPath(path);
    };

    switch (b) {
    case DBNavigator::First:
        p.drawRect(QRectF(3, 3, 2, 10));
        triangle(6, true);
        break;
    case DBNavigator::Prior:
        triangle(5, true);
        break;
    case DBNavigator::Next:
        triangle(5, false);
        break;
    case DBNavigator::Last:
        triangle(4, false);
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case DBNavigator::Insert:
        p.drawRect(QRectF(3, 7, 10, 2));
        p.drawRect(QRectF(7, 3, 2, 10));
        break;
    case DBNavigator::Delete:
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    }
    return QIcon(pm);
}

} // namespace

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        const auto b = static_cast<Button>(i);
        auto *button = new QToolButton(this);
        button->setIcon(glyph(b));
        button->setFixedSize(25, 25);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, b] { emit buttonClicked(b); });
        layout->addWidget(button);
        buttons_[i] = button;
    }
    setButtonsEnabled(false);
}

void DBNavigator::setHints(const QStringList &hints)
{
    for (int i = 0; i < ButtonCount && i < hints.size(); ++i)
        buttons_[i]->setToolTip(hints.at(i));
}

void DBNavigator::setButtonsEnabled(bool enabled)
{
    for (QToolButton *b : buttons_)
        b->setEnabled(enabled);
}

} // namespace ui
