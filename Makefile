# Entry points for people; the work is done by the scripts in scripts/.
.PHONY: test run bench package fuzz clean

test:
	@scripts/test.sh

run:
	@scripts/run.sh

bench:
	@scripts/bench.sh

package:
	@scripts/package.sh

# make fuzz BUDGET=120: seconds per target (default 180).
fuzz:
	@scripts/fuzz.sh $(BUDGET)

clean:
	rm -rf build
