// The PostgreSQL client library, loaded when a store on a server is first opened.
//
// Most runs never touch a server, and linking libpq at start-up would load it with some twenty
// libraries of its own (Kerberos, LDAP, TLS) before every command: about ten milliseconds of a
// command-line run. So the program is not linked with it; the functions the server engine calls
// are defined here and hand over to the library's own, found on first use.
#include "core/Messages.h"

#include <QString>
#include <dlfcn.h>
#include <libpq-fe.h>

namespace {

void *library()
{
    static void *const handle = [] {
        void *h = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
        if (!h)
            throw korvan::KorvanError(
                QStringLiteral("Для работы с сервером PostgreSQL нужна библиотека libpq (пакет libpq5): %1")
                    .arg(QString::fromLocal8Bit(dlerror())));
        return h;
    }();
    return handle;
}

template <typename F>
F function(const char *name)
{
    void *f = dlsym(library(), name);
    if (!f)
        throw korvan::KorvanError(
            QStringLiteral("В библиотеке libpq нет функции %1: нужна версия 14 или новее.").arg(QLatin1String(name)));
    return reinterpret_cast<F>(f);
}

} // namespace

// Each definition keeps the declaration of libpq-fe.h, so a changed signature does not compile.
#define KORVAN_PQ(result, name, parameters, arguments)                                                                 \
    result name parameters                                                                                             \
    {                                                                                                                  \
        static const auto call = function<decltype(&::name)>(#name);                                                   \
        return call arguments;                                                                                         \
    }

extern "C" {
// clang-format off
KORVAN_PQ(PGconn *, PQconnectdbParams, (const char *const *k, const char *const *v, int e), (k, v, e))
KORVAN_PQ(void, PQfinish, (PGconn *c), (c))
KORVAN_PQ(void, PQreset, (PGconn *c), (c))
KORVAN_PQ(ConnStatusType, PQstatus, (const PGconn *c), (c))
KORVAN_PQ(PGTransactionStatusType, PQtransactionStatus, (const PGconn *c), (c))
KORVAN_PQ(char *, PQerrorMessage, (const PGconn *c), (c))
KORVAN_PQ(int, PQsocket, (const PGconn *c), (c))
KORVAN_PQ(int, PQbackendPID, (const PGconn *c), (c))
KORVAN_PQ(int, PQserverVersion, (const PGconn *c), (c))
KORVAN_PQ(int, PQconnectionNeedsPassword, (const PGconn *c), (c))
KORVAN_PQ(int, PQconnectionUsedPassword, (const PGconn *c), (c))
KORVAN_PQ(const char *, PQparameterStatus, (const PGconn *c, const char *p), (c, p))
KORVAN_PQ(PQnoticeProcessor, PQsetNoticeProcessor, (PGconn *c, PQnoticeProcessor p, void *a), (c, p, a))
KORVAN_PQ(PGPing, PQpingParams, (const char *const *k, const char *const *v, int e), (k, v, e))
KORVAN_PQ(PGresult *, PQexec, (PGconn *c, const char *q), (c, q))
KORVAN_PQ(PGresult *, PQexecParams, (PGconn *c, const char *q, int n, const Oid *t, const char *const *v, const int *l, const int *f, int r), (c, q, n, t, v, l, f, r))
KORVAN_PQ(PGresult *, PQprepare, (PGconn *c, const char *s, const char *q, int n, const Oid *t), (c, s, q, n, t))
KORVAN_PQ(PGresult *, PQexecPrepared, (PGconn *c, const char *s, int n, const char *const *v, const int *l, const int *f, int r), (c, s, n, v, l, f, r))
KORVAN_PQ(int, PQsendQuery, (PGconn *c, const char *q), (c, q))
KORVAN_PQ(int, PQsendQueryParams, (PGconn *c, const char *q, int n, const Oid *t, const char *const *v, const int *l, const int *f, int r), (c, q, n, t, v, l, f, r))
KORVAN_PQ(int, PQsendPrepare, (PGconn *c, const char *s, const char *q, int n, const Oid *t), (c, s, q, n, t))
KORVAN_PQ(int, PQsendQueryPrepared, (PGconn *c, const char *s, int n, const char *const *v, const int *l, const int *f, int r), (c, s, n, v, l, f, r))
KORVAN_PQ(PGresult *, PQgetResult, (PGconn *c), (c))
KORVAN_PQ(int, PQenterPipelineMode, (PGconn *c), (c))
KORVAN_PQ(int, PQexitPipelineMode, (PGconn *c), (c))
KORVAN_PQ(int, PQpipelineSync, (PGconn *c), (c))
KORVAN_PQ(PGpipelineStatus, PQpipelineStatus, (const PGconn *c), (c))
KORVAN_PQ(int, PQsendFlushRequest, (PGconn *c), (c))
KORVAN_PQ(int, PQflush, (PGconn *c), (c))
KORVAN_PQ(int, PQsetnonblocking, (PGconn *c, int a), (c, a))
KORVAN_PQ(int, PQisBusy, (PGconn *c), (c))
KORVAN_PQ(int, PQconsumeInput, (PGconn *c), (c))
KORVAN_PQ(PGnotify *, PQnotifies, (PGconn *c), (c))
KORVAN_PQ(void, PQfreemem, (void *p), (p))
KORVAN_PQ(ExecStatusType, PQresultStatus, (const PGresult *r), (r))
KORVAN_PQ(char *, PQresultErrorMessage, (const PGresult *r), (r))
KORVAN_PQ(char *, PQresultErrorField, (const PGresult *r, int f), (r, f))
KORVAN_PQ(void, PQclear, (PGresult *r), (r))
KORVAN_PQ(int, PQntuples, (const PGresult *r), (r))
KORVAN_PQ(int, PQnfields, (const PGresult *r), (r))
KORVAN_PQ(Oid, PQftype, (const PGresult *r, int f), (r, f))
KORVAN_PQ(int, PQfformat, (const PGresult *r, int f), (r, f))
KORVAN_PQ(char *, PQcmdTuples, (PGresult *r), (r))
KORVAN_PQ(char *, PQgetvalue, (const PGresult *r, int t, int f), (r, t, f))
KORVAN_PQ(int, PQgetlength, (const PGresult *r, int t, int f), (r, t, f))
KORVAN_PQ(int, PQgetisnull, (const PGresult *r, int t, int f), (r, t, f))
KORVAN_PQ(char *, PQescapeLiteral, (PGconn *c, const char *s, size_t n), (c, s, n))
KORVAN_PQ(char *, PQescapeIdentifier, (PGconn *c, const char *s, size_t n), (c, s, n))
KORVAN_PQ(PGcancel *, PQgetCancel, (PGconn *c), (c))
KORVAN_PQ(int, PQcancel, (PGcancel *k, char *b, int n), (k, b, n))
KORVAN_PQ(void, PQfreeCancel, (PGcancel *k), (k))
KORVAN_PQ(int, PQlibVersion, (void), ())
// clang-format on
}
