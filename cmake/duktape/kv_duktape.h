/* What the project's build of the script engine adds to its interface.
 *
 * The engine is built from the package's source as C++, so that its errors unwind through C++
 * frames as exceptions and every destructor on the way runs. A heap whose udata is not null
 * must have a kv_duktape_budget at that address: the engine asks it at intervals while a script
 * runs whether the script has used up its time, and once it answers nonzero throws a RangeError
 * ("execution timeout") and goes on throwing it until the script has returned to its caller. A
 * regular expression that takes more than 10^7 steps for one match throws a RangeError too. */
#pragma once

struct kv_duktape_budget {
  int (*expired)(struct kv_duktape_budget* budget);
};
