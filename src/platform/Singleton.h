#pragma once

#include <memory>

// The one instance of T for the whole process, made on first use. Reset
// destroys it, so a test can start clean. A class becomes one by deriving from
// Singleton<T> and befriending it (its constructor stays private).
template <typename T>
class Singleton {
public:
    static T& Instance()
    {
        auto& instance = Holder();
        if (!instance)
            instance.reset(new T());
        return *instance;
    }
    static void Reset() { Holder().reset(); }

protected:
    Singleton() = default;

private:
    static std::unique_ptr<T>& Holder()
    {
        static std::unique_ptr<T> instance;
        return instance;
    }
};
