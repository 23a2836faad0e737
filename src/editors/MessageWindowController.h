#pragma once

#include "MessagePort.h"
#include "MessageWindowState.h"

#include "Vocabulary.h"

#include <QObject>
#include <QTimer>

#include <chrono>

namespace tavrin::editors {

using namespace std::chrono_literals;

// What the two message windows' editors do alike: their own line to the sign, the Ack label
// that clears itself, the clock shown every second and sent on Set LED Sign Time, and the
// send buttons that wait while a write is on the line.
class MessageWindowController : public QObject
{
    Q_OBJECT

public:
    static constexpr auto kRemoveAckDelay = 5000ms;
    static constexpr auto kClockUpdateInterval = 1000ms;

    ~MessageWindowController() override;

    // The operator's choice in one of the window's attribute lists, and its send buttons.
    virtual void listClick(vocab::Attribute attribute, int index) = 0;
    virtual void upload() = 0;
    virtual void download() = 0;

    // Sends the computer's clock to the sign, read when the command goes out (which may be
    // after a send under way); the send buttons wait as for an upload.
    void setSignClock();

    void clearAck();
    void updateClock();

    // From a send until its port has closed again.
    bool isBusy() const { return m_port.isBusy(); }
    link::SerialLink &serialLink() { return m_port.serialLink(); }

signals:
    // The lists were filled for the model (once, while opening).
    void profileApplied();
    void stateChanged();
    // A message box for the operator: title, text.
    void messageRequested(const QString &title, const QString &text);

protected:
    // Each command waits closeDelay for its confirmation and the port closes that long after
    // the last write, unless a send says otherwise.
    MessageWindowController(std::chrono::milliseconds closeDelay, QObject *parent);

    // The editor's state, which holds what is shown here, and the port its sends go to (COM k).
    // Asked only once the editor is constructed.
    virtual MessageWindowState &shown() = 0;
    virtual int portNumber() const = 0;

    void changed() { emit stateChanged(); }
    // Shows the clock now and every kClockUpdateInterval from now on.
    void startClock();
    // Shows text in the Ack label for kRemoveAckDelay.
    void showAck(const QString &text);
    // Sends as Upload does: the send buttons wait, Upload reads "Writing..." and the Ack label
    // stays until the next one. False when the port cannot be opened now (that is told).
    bool sendWriting(MessagePort::ItemBuilder build);
    MessagePort &port() { return m_port; }

private:
    MessagePort m_port;
    QTimer m_removeAck;
    QTimer m_clockUpdate;
};

} // namespace tavrin::editors
