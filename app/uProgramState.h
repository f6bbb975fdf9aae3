// What the program knows about the state of the main window's input.
#pragma once

class KProgramState {
public:
    // The input holds an expression that has just been evaluated.
    bool JustEvaluated = false;

    static KProgramState &Instance() {
        static KProgramState state;
        return state;
    }
};
