#include "contracts/Log.h"

// Information and above are on by default; debug lines only when asked for.
Q_LOGGING_CATEGORY(lcAbi, "tkt.abi", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDb, "tkt.db", QtInfoMsg)
Q_LOGGING_CATEGORY(lcServices, "tkt.services", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDialog, "tkt.dialog", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStandIn, "tkt.standin", QtInfoMsg)
