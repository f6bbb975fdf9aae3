// Shared set-up of the graph tests: the app tests' clean surroundings (a
// temporary program folder, the engine reset with "," as the separator), a
// beep that is counted, and a sampler factory that counts the samples the
// graph asks for.
#pragma once

#include "../app/AppTestSupport.h"
#include "uGrafFunkcie.h"
#include "uVzorkovanie.h"

#include <functional>
#include <memory>

// The engine's sampler of x, counting every sample into `count`.
inline TGrafFunkcie::TSamplerFactory CountingSamplers(int &count) {
    class TCounting final : public TFunctionSampler {
    public:
        TCounting(std::unique_ptr<TFunctionSampler> inner, int &count) : m_inner(std::move(inner)), m_count(count) {}
        quint8 Sample(long double x, long double &y) override {
            ++m_count;
            return m_inner->Sample(x, y);
        }

    private:
        std::unique_ptr<TFunctionSampler> m_inner;
        int &m_count;
    };
    return [&count](const QString &text) -> std::unique_ptr<TFunctionSampler> {
        return std::make_unique<TCounting>(CompileFunction(text, QStringLiteral("x")), count);
    };
}

class GraphTest : public AppTest {
protected:
    int Beeps = 0;
    int Samples = 0;

    void SetUp() override {
        AppTest::SetUp();
        AppContext().Beep = [this] { ++Beeps; };
    }
};
