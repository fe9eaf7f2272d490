#include "screens/game_trace.h"

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "days/hud.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "screens/screen_machine.h"

void GameTrace::writeHeader(FILE* out) {
  std::fputs(
      "frame,screen,day,ticksToday,money,score,breath,masks,stalks,ears,crows,particles,x,y,"
      "phase,light,shownMoney,gameOver,pelicans,cows,ooga\n",
      out);
}

void GameTrace::writeRow(FILE* out, long frame) {
  std::fprintf(out, "%ld,%d", frame, static_cast<int>(screenMachine->currentScreen()));
  if (!isWorldLoaded()) {
    std::fputs(",,,,,,,,,,,,,,,,,,,\n", out);  // the world's columns are unknown off the Play world
    return;
  }
  const ScarecrowState& s = Scarecrow::state();
  std::fprintf(out, ",%d,%d,%d,%d,%.3f,%d,%d,%d,%d,%d,%.2f,%.2f,%d,%.3f,%d,%d,%d,%d,%d\n", DayDirector::day(),
               DayDirector::ticksToday(), s.money, s.score, s.breath, s.masks, CornField::liveStalkCount(),
               CornField::earCount(), CrowFlock::countInUse(), BooShout::countInUse(), s.x, s.y,
               static_cast<int>(DayCycle::phase()), worldLight(), Hud::shownMoney(), isGameOver() ? 1 : 0,
               PelicanFlock::countInUse(), CowHerd::countInUse(), OogaBooga::isActive() ? 1 : 0);
}
