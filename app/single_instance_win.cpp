// The named-mutex form of the single-instance mark (Windows).
#include "app/single_instance.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

#include <windows.h>

namespace quillet {

struct TSingleInstance::TImpl {
    HANDLE Mutex = nullptr;
    ~TImpl() {
        if (Mutex)
            CloseHandle(Mutex);
    }
};

TSingleInstance::TSingleInstance(const QString&) : Impl(std::make_unique<TImpl>()) {
    Impl->Mutex = CreateMutexW(nullptr, FALSE, L"Quillex");
    FIsFirst = !(Impl->Mutex && GetLastError() == ERROR_ALREADY_EXISTS);
}

TSingleInstance::~TSingleInstance() = default;

} // namespace quillet

#endif
