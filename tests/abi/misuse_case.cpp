// One misuse of the module's C ABI per run, as a careless host would commit it: the test runs each
// in a process of its own, since the faults it guards against end a process. Prints what every
// call answered ("entry=0", "service=packet" or "service=error:<text>") and exits 0 when it got
// that far.
#include "Pkg_tkt00740/tkt00740.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <map>
#include <string>
#include <thread>

namespace {

using Hook = void (*)();
using Entry = int32_t (*)(const char *, const char *, const char *, const char *, const char *, char **, char **,
                          char **, char **);
using ValMesa = TktResult *(*)(const uint16_t *, const uint16_t *, const uint16_t *);
using ValidaCons = TktResult *(*)(const uint16_t *, const uint16_t *);
using ValComanda = TktResult *(*)(const uint16_t *, const uint16_t *, const uint16_t *, const uint16_t *,
                                  const uint16_t *);
using FreeResult = void (*)(TktResult *);
using FreeText = void (*)(char *);

struct Module {
    Hook initialize, finalize;
    Entry entry;
    ValMesa getValMesa;
    ValidaCons getValidaCons;
    ValComanda getValComanda;
    FreeResult freeResult;
    FreeText freeText;
};
Module m;

const uint16_t *u16(const char16_t *text)
{
    return reinterpret_cast<const uint16_t *>(text);
}

void report(const char *what, TktResult *r)
{
    if (!r) {
        std::printf("%s=null\n", what);
    } else if (r->kind == TKT_RESULT_PACKET) {
        std::printf("%s=packet\n", what);
    } else {
        const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(r->errorText),
                                                qsizetype(r->errorLength));
        std::printf("%s=error:%s\n", what, text.toUtf8().constData());
    }
    m.freeResult(r);
    std::fflush(stdout);
}

void tables(const char *what = "service")
{
    report(what, m.getValMesa(u16(u"0001"), u16(u"0001"), u16(u"T")));
}

// The operator leaves the dialog as soon as it shows, so that an entry that opens it returns.
void leaveWhenShown()
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *exit = modal ? modal->findChild<QAbstractButton *>(QStringLiteral("lblSair")) : nullptr) {
            poll->stop();
            poll->deleteLater();
            exit->click();
        }
    });
    poll->start(20);
}

int32_t enter(const char *comanda = "15")
{
    char *texts[4] = {nullptr, nullptr, nullptr, nullptr};
    const int32_t result = m.entry(comanda, "", "S", "S", "S", &texts[0], &texts[1], &texts[2], &texts[3]);
    for (char *text : texts)
        m.freeText(text);
    std::printf("entry=%d\n", result);
    std::fflush(stdout);
    return result;
}

const std::map<std::string, std::function<void(int &, char **)>> kCases = {
    {"entry-before-initialize", [](int &, char **) { enter(); }},
    {"entry-without-widget-application",
     [](int &argc, char **argv) {
         QCoreApplication app(argc, argv); // a console host: Initialize leaves its application alone
         m.initialize();
         enter();
         m.finalize();
     }},
    {"service-before-initialize", [](int &, char **) { tables(); }},
    {"calls-after-finalize",
     [](int &, char **) {
         m.initialize();
         m.finalize();
         tables();
         enter();
     }},
    {"calls-from-another-thread",
     [](int &, char **) {
         m.initialize();
         std::thread([] {
             tables();
             enter();
             m.finalize(); // refused too: the objects it would free belong to the other thread
         }).join();
         tables("same-thread");
         m.finalize();
     }},
    {"null-pointers",
     [](int &, char **) {
         m.initialize();
         report("service", m.getValMesa(nullptr, nullptr, nullptr));
         report("comandas", m.getValComanda(nullptr, nullptr, nullptr, nullptr, nullptr));
         m.freeResult(nullptr);
         m.freeText(nullptr);
         leaveWhenShown();
         std::printf("entry=%d\n", m.entry(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
         m.finalize();
     }},
    {"long-texts",
     [](int &, char **) {
         m.initialize();
         const std::u16string longText(1 << 20, u'7');
         report("service", m.getValidaCons(u16(longText.c_str()), u16(longText.c_str())));
         const std::string longCode(1 << 20, '9');
         leaveWhenShown();
         enter(longCode.c_str());
         m.finalize();
     }},
    {"unpaired-surrogates",
     [](int &, char **) {
         m.initialize();
         const char16_t lone[] = {u'0', char16_t(0xD800), u'1', 0};
         const char16_t trailing[] = {char16_t(0xDC00), 0};
         report("service", m.getValidaCons(u16(lone), u16(trailing)));
         report("tables", m.getValMesa(u16(lone), u16(trailing), u16(lone)));
         m.finalize();
     }},
    {"one-address-twice",
     [](int &, char **) {
         m.initialize();
         char *shared = nullptr;
         char *waiter = nullptr;
         char *table = nullptr;
         leaveWhenShown();
         std::printf("entry=%d\n", m.entry("15", "", "S", "S", "S", &shared, &shared, &waiter, &table));
         std::printf("handed-back=%s\n", shared && waiter && table ? "yes" : "no");
         for (char *text : {shared, waiter, table})
             m.freeText(text); // one text each: a leak checker finds any other
         m.finalize();
     }},
    {"hooks-twice-and-again",
     [](int &, char **) {
         m.finalize(); // without Initialize
         m.initialize();
         m.initialize();
         tables("first");
         m.finalize();
         m.finalize();
         m.initialize(); // a host may load the module again after unloading it
         tables("again");
         m.finalize();
     }},
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 || !kCases.count(argv[2])) {
        std::fprintf(stderr, "usage: %s <libtkt00740.so> <case>\n", argv[0]);
        return 2;
    }
    void *module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        return 2;
    }
    m = Module{reinterpret_cast<Hook>(dlsym(module, "Initialize")),
               reinterpret_cast<Hook>(dlsym(module, "Finalize")),
               reinterpret_cast<Entry>(dlsym(module, "CriaConfComanda")),
               reinterpret_cast<ValMesa>(dlsym(module, "getValMesa")),
               reinterpret_cast<ValidaCons>(dlsym(module, "getValidaCons")),
               reinterpret_cast<ValComanda>(dlsym(module, "getValComanda")),
               reinterpret_cast<FreeResult>(dlsym(module, "tkt_FreeResult")),
               reinterpret_cast<FreeText>(dlsym(module, "tkt_FreeText"))};
    kCases.at(argv[2])(argc, argv);
    std::printf("done\n");
    return 0;
}
