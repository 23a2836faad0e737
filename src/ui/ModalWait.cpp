#include "ModalWait.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tavrin::ui {

namespace {

// Lives on the modal window it watches, and tries again once that window hides or goes.
class ModalWait : public QObject
{
public:
    ModalWait(QWidget *modal, QObject *context, std::function<void()> action)
        : QObject(modal)
        , m_context(context)
        , m_action(std::move(action))
    {
        modal->installEventFilter(this);
    }
    ~ModalWait() override { retry(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide) {
            watched->removeEventFilter(this);
            retry();
            deleteLater();
        }
        return false;
    }

private:
    void retry()
    {
        if (!m_action || !m_context)
            return;
        // Queued: the closing window's own event loop ends first.
        QTimer::singleShot(0, m_context.data(),
                           [context = m_context.data(), action = std::move(m_action)] {
                               runWhenNoModalWindow(context, action);
                           });
        m_action = nullptr;
    }

    QPointer<QObject> m_context;
    std::function<void()> m_action;
};

} // namespace

void runWhenNoModalWindow(QObject *context, std::function<void()> action)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        new ModalWait(modal, context, std::move(action)); // owned by modal
    else
        action();
}

} // namespace tavrin::ui
