#include "uNastroje.h"
#include "uProgram.h"

int main(int argc, char **argv) {
    TNastroje tools;
    return RunProgram(argc, argv, {&tools, nullptr});
}
