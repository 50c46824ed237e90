// quarel-preview: a host application that loads QuarelMap.dlt and renders its map.
#include "preview/commands/run.h"

int main(int argc, char** argv) {
    return QuarelPreview::RunPreview(argc, argv);
}
