#include "driver.h"

int main(int argc, char** argv) { return kova::run(argc, argv); }
