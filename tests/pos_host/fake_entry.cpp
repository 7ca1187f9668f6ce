// A module whose entry shows a small modal dialog, so that the host's side of the call can be
// checked before and apart from the real dialog:
// - the dialog "frmFake" appends every typed text to the consumer and stays open on any key;
//   "btnConfirma" confirms, "btnSair" leaves;
// - the table comes back as "<comanda>|<mode>|<three permissions>" so the inputs can be checked;
// - the client is replaced only on confirmation, and the waiter is never replaced: the host must
//   print its own text for it and must not free it;
// - mode "hang" never returns and runs no event loop, like a module stuck in a loop of its own.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <cstring>
#include <thread>

#define FAKE_API extern "C" __attribute__((visibility("default")))

namespace {

class FakeDialog : public QDialog {
public:
    QByteArray typed;

    FakeDialog()
    {
        setObjectName(QStringLiteral("frmFake"));
        auto *layout = new QVBoxLayout(this);
        for (const char *name : {"btnConfirma", "btnSair"}) {
            auto *button = new QPushButton(QString::fromLatin1(name), this);
            button->setObjectName(QString::fromLatin1(name));
            button->setFocusPolicy(Qt::NoFocus);
            layout->addWidget(button);
        }
        connect(findChild<QPushButton *>(QStringLiteral("btnConfirma")), &QPushButton::clicked, this, &QDialog::accept);
        connect(findChild<QPushButton *>(QStringLiteral("btnSair")), &QPushButton::clicked, this, &QDialog::reject);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        // The module's side of the boundary speaks Windows-1252; Latin-1 covers what the tests type.
        typed += event->text().toLatin1();
    }
};

char *copyOf(const QByteArray &bytes)
{
    char *text = static_cast<char *>(std::malloc(static_cast<size_t>(bytes.size()) + 1));
    std::memcpy(text, bytes.constData(), static_cast<size_t>(bytes.size()) + 1);
    return text;
}

} // namespace

FAKE_API void Initialize(void) {}
FAKE_API void Finalize(void) {}
FAKE_API void tkt_FreeText(char *text) { std::free(text); }

FAKE_API int32_t CriaConfComanda(const char *comanda, const char *mode, const char *permiteCons,
                                 const char *permiteMesa, const char *permiteGarcom, char **consumidor,
                                 char **cliente, char **vendedor, char **mesa)
{
    (void)vendedor;
    if (std::strcmp(mode, "hang") == 0)
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    FakeDialog dialog;
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    *consumidor = copyOf(QByteArray(*consumidor) + dialog.typed);
    *mesa = copyOf(QByteArray(comanda) + '|' + mode + '|' + permiteCons + permiteMesa + permiteGarcom);
    if (confirmed)
        *cliente = copyOf(QByteArray("C") + *cliente);
    return confirmed ? 1 : 0;
}
