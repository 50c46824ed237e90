// The host's interface object and its broadcast notifications.
#include <algorithm>
#include <mutex>
#include <vector>

#include "maxapi.h"
#include "notify.h"

namespace {

class CoreInterface final : public Interface {
public:
    CoreInterface() : mRoot(new INode(L"Scene Root")) {}
    TimeValue GetTime() override { return mTime; }
    void SetTime(TimeValue t, BOOL) override { mTime = t; }
    INode* GetRootNode() override { return mRoot; }
    void ResetScene() override {
        while (mRoot->NumberOfChildren() > 0) mRoot->DeleteChild(mRoot->GetChildNode(0));
    }

private:
    TimeValue mTime = 0;
    INode* mRoot;  // lives for the whole process, like the host
};

struct Registration {
    NOTIFYPROC proc;
    void* param;
    int code;
};

std::mutex gNotifyMutex;
std::vector<Registration>& Registrations() {
    static auto* r = new std::vector<Registration>;
    return *r;
}

}  // namespace

Interface* GetCOREInterface() {
    static CoreInterface* core = new CoreInterface;
    return core;
}

int RegisterNotification(NOTIFYPROC proc, void* param, int code) {
    if (!proc) return FALSE;
    std::lock_guard<std::mutex> lock(gNotifyMutex);
    Registrations().push_back({proc, param, code});
    return TRUE;
}

int UnRegisterNotification(NOTIFYPROC proc, void* param, int code) {
    std::lock_guard<std::mutex> lock(gNotifyMutex);
    auto& r = Registrations();
    auto it = std::find_if(r.begin(), r.end(), [&](const Registration& x) {
        return x.proc == proc && x.param == param && x.code == code;
    });
    if (it == r.end()) return FALSE;
    r.erase(it);
    return TRUE;
}

void BroadcastNotification(int code, void* callParam) {
    std::vector<Registration> copy;
    {
        std::lock_guard<std::mutex> lock(gNotifyMutex);
        copy = Registrations();
    }
    NotifyInfo info{code, callParam};
    for (const Registration& r : copy)
        if (r.code == code) r.proc(r.param, &info);
}
