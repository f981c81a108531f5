#pragma once
// The record navigator of the toolbar: First, Prior, Next, Last, New, Delete. It knows no dataset
// yet; whoever binds it enables the buttons and acts on buttonClicked.
#include <QStringList>
#include <QWidget>

class QToolButton;

namespace ui {

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete };
    static constexpr int ButtonCount = 6;

    explicit DBNavigator(QWidget *parent = nullptr);

    QToolButton *button(Button b) const { return buttons_[b]; }
    // One tool tip per button, in the order of Button.
    void setHints(const QStringList &hints);
    // The buttons work only while a dataset is bound; unbound they are all disabled.
    void setButtonsEnabled(bool enabled);

signals:
    void buttonClicked(ui::DBNavigator::Button button);

private:
    QToolButton *buttons_[ButtonCount] = {};
};

} // namespace ui
