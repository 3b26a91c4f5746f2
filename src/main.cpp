#include "Common/MainCons.h"

int main(int argc, char** argv) { return tessel::MainCons(argc, argv); }
