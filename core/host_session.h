// The host-session bracket of every entry and callback: opened on entry, closed
// on every path out.
#pragma once

#include "uf.h"

class HostSession {
public:
    HostSession() : status_(UF_initialize()) {}
    ~HostSession() {
        if (status_ == 0) UF_terminate();
    }
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    bool open() const { return status_ == 0; }

private:
    int status_;
};
