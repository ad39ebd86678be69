#include "app/RunApplication.h"

int main(int argc, char** argv) {
    return quilo::runApplication(argc, argv);
}
