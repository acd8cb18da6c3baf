#include "app/ApplicationMain.h"

int main(int argc, char* argv[]) {
  return pellimo::app::applicationMain(argc, argv);
}
