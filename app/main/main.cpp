#include "fPrehliadacVyrazov.h"
#include "uNastroje.h"
#include "uProgram.h"

int main(int argc, char **argv) {
    TNastroje tools;
    TPrehliadacVyrazovLink browser;
    return RunProgram(argc, argv, {&tools, &browser});
}
