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

# make fuzz BUDGET=120: seconds per target (default 180); make fuzz RUNS=10000000: a
# campaign of that many inputs per target.
fuzz:
	@RUNS=$(RUNS) scripts/fuzz.sh $(BUDGET)

clean:
	rm -rf build
