#include "fakes/fake_services.h"

#include <stdexcept>
#include <thread>

namespace {

class FakeWmiSession : public WmiSession {
public:
    explicit FakeWmiSession(FakeWmiService& service) : service_(service) { ++service_.callsInService; }
    ~FakeWmiSession() override { --service_.callsInService; }

    std::optional<std::vector<WmiInstance>> Query(const std::wstring& wql,
                                                  const std::vector<std::wstring>& properties) override {
        service_.askedQueries.push_back(wql);
        service_.WaitBefore(wql);
        if (wql == service_.throwsAt) throw std::runtime_error("the service failed");
        auto it = service_.answers.find(wql);
        if (it == service_.answers.end()) return std::nullopt;
        const FakeWmiService::Answer& answer = it->second;
        std::vector<WmiInstance> instances;
        for (size_t i = 0; i < answer.names.size(); ++i) {
            WmiInstance instance;
            instance.name = TextValue(answer.names[i]);
            for (const auto& property : properties) {
                auto v = answer.values.find(property);
                if (v != answer.values.end() && i < v->second.size())
                    instance.values.push_back(v->second[i]);
                else
                    instance.values.push_back(AbsentValue());
            }
            instances.push_back(std::move(instance));
        }
        return instances;
    }

private:
    FakeWmiService& service_;
};

}  // namespace

std::unique_ptr<WmiSession> FakeWmiService::Connect(const std::wstring& wmiNamespace) {
    ++callsInService;
    connectedNamespaces.push_back(wmiNamespace);
    WaitBefore(kConnect);
    std::unique_ptr<WmiSession> session = connects ? std::make_unique<FakeWmiSession>(*this) : nullptr;
    --callsInService;
    return session;
}

FakeWmiService::~FakeWmiService() {
    // A thread the test left in the service must be out of it before the fake goes.
    Release();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (callsInService > 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void FakeWmiService::Release() {
    const std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    released_.notify_all();
}

void FakeWmiService::WaitBefore(const std::wstring& step) {
    std::this_thread::sleep_for(delay);
    if (step != stallsAt) return;
    std::unique_lock<std::mutex> lock(mutex_);
    released_.wait(lock, [this] { return open_; });
}

WmiValue AbsentValue() {
    WmiValue v;
    v.type = WmiValue::Type::Absent;
    return v;
}

WmiValue TextValue(const std::wstring& text) {
    WmiValue v;
    v.type = WmiValue::Type::Bstr;
    v.text = text;
    return v;
}

WmiValue IntValue(int32_t value) {
    WmiValue v;
    v.type = WmiValue::Type::I4;
    v.i4 = value;
    return v;
}

WmiValue BoolValue(bool value) {
    WmiValue v;
    v.type = WmiValue::Type::Bool;
    v.boolean = value;
    return v;
}

WmiValue ByteValue(uint8_t value) {
    WmiValue v;
    v.type = WmiValue::Type::UI1;
    v.ui1 = value;
    return v;
}
