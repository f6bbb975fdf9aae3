#include "uOkna.h"

#include "fHistoria.h"
#include "fHlavny.h"
#include "fJazyk.h"
#include "fPremenne.h"

ThlavnyFrm *hlavnyFrm = nullptr;
TjazykFrm *jazykFrm = nullptr;
TpremenneFrm *premenneFrm = nullptr;
ThistoriaFrm *historiaFrm = nullptr;

void CreateProgramWindows(const TProgramLinks &links) {
    hlavnyFrm = new ThlavnyFrm;
    jazykFrm = new TjazykFrm(hlavnyFrm);
    premenneFrm = new TpremenneFrm(hlavnyFrm);
    historiaFrm = new ThistoriaFrm(hlavnyFrm);
    hlavnyFrm->SetToolWindows(links.Tools, links.Browser);
}

void DestroyProgramWindows() {
    delete historiaFrm;
    historiaFrm = nullptr;
    delete premenneFrm;
    premenneFrm = nullptr;
    delete jazykFrm;
    jazykFrm = nullptr;
    delete hlavnyFrm;
    hlavnyFrm = nullptr;
}
