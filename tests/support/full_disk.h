#pragma once
// A full disk for the study database's tests, injected at SQLite's VFS.
#include <sqlite3.h>

#include <atomic>

// A file whose writes fail with SQLITE_FULL while `full` is set: the
// platform's own VFS with its write swapped (the database, its journal and
// its write-ahead log each have their own methods).
struct FullDisk {
  static inline std::atomic<bool> full = false;
  static inline sqlite3_vfs vfs{};
  static inline sqlite3_vfs* platform = nullptr;
  static constexpr int kKinds = 4;
  static inline const sqlite3_io_methods* real[kKinds] = {};
  static inline sqlite3_io_methods swapped[kKinds] = {};

  static const sqlite3_io_methods* realOf(sqlite3_file* f) {
    for (int k = 0; k < kKinds; ++k)
      if (f->pMethods == &swapped[k]) return real[k];
    return nullptr;
  }
  static int write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    if (full) return SQLITE_FULL;
    return realOf(f)->xWrite(f, data, amount, offset);
  }
  static int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* out) {
    const int rc = platform->xOpen(platform, name, f, flags, out);
    if (rc != SQLITE_OK || !f->pMethods) return rc;
    for (int k = 0; k < kKinds; ++k) {
      if (!real[k]) {
        real[k] = f->pMethods;
        swapped[k] = *f->pMethods;
        swapped[k].xWrite = write;
      }
      if (real[k] == f->pMethods) {
        f->pMethods = &swapped[k];
        break;
      }
    }
    return rc;
  }
  // Its name, for a connection to open with; as the default, every
  // connection opened from then on in the process is on it.
  static const char* install(bool asDefault = false) {
    if (!platform) {
      platform = sqlite3_vfs_find(nullptr);
      vfs = *platform;
      vfs.zName = "parlenda-full-disk";
      vfs.xOpen = open;
    }
    sqlite3_vfs_register(&vfs, asDefault);
    return vfs.zName;
  }
};
