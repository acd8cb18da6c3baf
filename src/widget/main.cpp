#include "widget/ApplicationMain.h"

int main(int argc, char* argv[]) {
  return pellimo::widget::applicationMain(argc, argv);
}
