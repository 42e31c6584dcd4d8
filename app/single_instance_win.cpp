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

TSingleInstance::TSingleInstance(const QString&) : FImpl(std::make_unique<TImpl>()) {
    FImpl->Mutex = CreateMutexW(nullptr, FALSE, L"Quillex");
    FIsFirst = !(FImpl->Mutex && GetLastError() == ERROR_ALREADY_EXISTS);
}

TSingleInstance::~TSingleInstance() = default;

} // namespace quillet

#endif
