// Shared set-up of the graph tests: the app tests' clean surroundings, a
// beep that is counted, and a sampler factory that counts the samples the
// graph asks for.
#pragma once

#include "../app/AppTestSupport.h"
#include "uGrafFunkcie.h"
#include "uKompilovanyVyraz.h"
#include "uVzorkovanie.h"

#include <memory>

// The engine's sampler of x, counting every sample into `count`.
inline TGrafFunkcie::TSamplerFactory CountingSamplers(int &count, const TEvaluationContext &context) {
    struct TCounting final : TFunctionSampler {
        std::unique_ptr<TFunctionSampler> Inner;
        int &Count;
        TCounting(std::unique_ptr<TFunctionSampler> inner, int &count) : Inner(std::move(inner)), Count(count) {}
        quint8 Sample(long double x, long double &y) override {
            ++Count;
            return Inner->Sample(x, y);
        }
    };
    return [&count, &context](const QString &text) -> std::unique_ptr<TFunctionSampler> {
        return std::make_unique<TCounting>(CompileFunction(text, QStringLiteral("x"), context), count);
    };
}

class GraphTest : public AppTest {
protected:
    int Beeps = 0;
    int Samples = 0;
    // What the samples are evaluated with ("," as the separator); tests
    // change it before a graph.
    TEvaluationContext Context{QLatin1Char(',')};

    void SetUp() override {
        AppTest::SetUp();
        AppContext().Beep = [this] { ++Beeps; };
    }
};
