#include "crash/CrashVfs.h"

#include <QByteArray>
#include <QDir>
#include <sqlite3.h>

#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace orvak::test::crash {

namespace {

sqlite3_vfs* real = nullptr;
sqlite3_vfs shim;
QByteArray watched;   // the folder, with its separator
int crashAt = 0;
int counted = 0;
bool armed = false;
Ending ending = Ending::Kill;

// What a write or truncation replaced, for the power cut to put back.
struct Undo {
    QByteArray path;
    qint64 offset;
    QByteArray bytes;   // as they were at offset (shorter where the file was)
    qint64 sizeBefore;
};
std::vector<Undo> unsynced;

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* inner;
    QByteArray path;
    bool watchedFile;
};

sqlite3_file* inner(sqlite3_file* f) { return reinterpret_cast<ShimFile*>(f)->inner; }

void cutPower()
{
    // The disk keeps only what was synced: every later write is undone, newest first.
    for (auto it = unsynced.rbegin(); it != unsynced.rend(); ++it) {
        const int fd = ::open(it->path.constData(), O_WRONLY);
        if (fd < 0)
            continue;   // deleted since: the deletion is on the disk
        if (!it->bytes.isEmpty())
            (void)::pwrite(fd, it->bytes.constData(), size_t(it->bytes.size()), off_t(it->offset));
        (void)::ftruncate(fd, off_t(it->sizeBefore));
        ::close(fd);
    }
}

// One counted step of a watched file; ends the process when it is the chosen one.
void step()
{
    if (!armed)
        return;
    ++counted;
    if (crashAt > 0 && counted == crashAt) {
        if (ending == Ending::PowerCut)
            cutPower();
        _exit(kCrashedExit);
    }
}

void remember(ShimFile* f, qint64 offset, qint64 length)
{
    if (!armed || ending != Ending::PowerCut)
        return;
    sqlite3_int64 size = 0;
    f->inner->pMethods->xFileSize(f->inner, &size);
    Undo u{f->path, offset, {}, size};
    const qint64 kept = std::max<qint64>(0, std::min<qint64>(length, size - offset));
    if (kept > 0) {
        u.bytes.resize(kept);
        f->inner->pMethods->xRead(f->inner, u.bytes.data(), int(kept), offset);
    }
    unsynced.push_back(std::move(u));
}

int xClose(sqlite3_file* f)
{
    const int rc = inner(f)->pMethods ? inner(f)->pMethods->xClose(inner(f)) : SQLITE_OK;
    reinterpret_cast<ShimFile*>(f)->path.~QByteArray();
    return rc;
}
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 o) { return inner(f)->pMethods->xRead(inner(f), p, n, o); }
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 o)
{
    auto* s = reinterpret_cast<ShimFile*>(f);
    if (s->watchedFile) {
        step();
        remember(s, o, n);
    }
    return s->inner->pMethods->xWrite(s->inner, p, n, o);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    auto* s = reinterpret_cast<ShimFile*>(f);
    if (s->watchedFile) {
        step();
        sqlite3_int64 now = 0;
        s->inner->pMethods->xFileSize(s->inner, &now);
        if (now > size)
            remember(s, size, now - size);
    }
    return s->inner->pMethods->xTruncate(s->inner, size);
}
int xSync(sqlite3_file* f, int flags)
{
    auto* s = reinterpret_cast<ShimFile*>(f);
    if (s->watchedFile)
        step();
    const int rc = s->inner->pMethods->xSync(s->inner, flags);
    if (rc == SQLITE_OK && s->watchedFile)
        std::erase_if(unsynced, [&](const Undo& u) { return u.path == s->path; });
    return rc;
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return inner(f)->pMethods->xFileSize(inner(f), size); }
int xLock(sqlite3_file* f, int l) { return inner(f)->pMethods->xLock(inner(f), l); }
int xUnlock(sqlite3_file* f, int l) { return inner(f)->pMethods->xUnlock(inner(f), l); }
int xCheckReservedLock(sqlite3_file* f, int* r) { return inner(f)->pMethods->xCheckReservedLock(inner(f), r); }
int xFileControl(sqlite3_file* f, int op, void* arg) { return inner(f)->pMethods->xFileControl(inner(f), op, arg); }
int xSectorSize(sqlite3_file* f) { return inner(f)->pMethods->xSectorSize(inner(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return inner(f)->pMethods->xDeviceCharacteristics(inner(f)); }
int xShmMap(sqlite3_file* f, int pg, int size, int extend, void volatile** p) { return inner(f)->pMethods->xShmMap(inner(f), pg, size, extend, p); }
int xShmLock(sqlite3_file* f, int offset, int n, int flags) { return inner(f)->pMethods->xShmLock(inner(f), offset, n, flags); }
void xShmBarrier(sqlite3_file* f) { inner(f)->pMethods->xShmBarrier(inner(f)); }
int xShmUnmap(sqlite3_file* f, int del) { return inner(f)->pMethods->xShmUnmap(inner(f), del); }
int xFetch(sqlite3_file* f, sqlite3_int64 o, int n, void** p) { return inner(f)->pMethods->xFetch(inner(f), o, n, p); }
int xUnfetch(sqlite3_file* f, sqlite3_int64 o, void* p) { return inner(f)->pMethods->xUnfetch(inner(f), o, p); }

const sqlite3_io_methods methods = {3,         xClose,       xRead,         xWrite,        xTruncate, xSync,   xFileSize,
                                    xLock,     xUnlock,      xCheckReservedLock, xFileControl, xSectorSize, xDeviceCharacteristics,
                                    xShmMap,   xShmLock,     xShmBarrier,   xShmUnmap,     xFetch,    xUnfetch};

bool isWatched(const char* name) { return name && !watched.isEmpty() && std::strncmp(name, watched.constData(), size_t(watched.size())) == 0; }

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags)
{
    auto* s = reinterpret_cast<ShimFile*>(f);
    s->inner = reinterpret_cast<sqlite3_file*>(s + 1);
    new (&s->path) QByteArray(name ? QByteArray(name) : QByteArray());
    s->watchedFile = isWatched(name);
    const int rc = real->xOpen(real, name, s->inner, flags, outFlags);
    s->base.pMethods = s->inner->pMethods ? &methods : nullptr;
    if (!s->base.pMethods)
        s->path.~QByteArray();
    return rc;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    if (isWatched(name))
        step();
    return real->xDelete(real, name, syncDir);
}

} // namespace

bool install(const QString& folder)
{
    real = sqlite3_vfs_find(nullptr);
    if (!real)
        return false;
    watched = QDir(folder).canonicalPath().toUtf8() + '/';
    shim = *real;
    shim.zName = "orvak-crash";
    shim.pNext = nullptr;
    shim.szOsFile = int(sizeof(ShimFile)) + real->szOsFile;
    shim.xOpen = xOpen;
    shim.xDelete = xDelete;
    return sqlite3_vfs_register(&shim, 1) == SQLITE_OK;
}

void arm(int at, Ending how)
{
    crashAt = at;
    ending = how;
    counted = 0;
    unsynced.clear();
    armed = true;
}

int steps() { return counted; }

} // namespace orvak::test::crash
