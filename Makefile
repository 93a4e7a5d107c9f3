# The two commands of the README. Both install what is missing and build what is stale.
.PHONY: run test build dist fuzz clean
run:
	scripts/run.sh
test:
	scripts/test.sh
build:
	scripts/deps.sh && scripts/build.sh
dist:
	scripts/dist.sh
fuzz:
	scripts/fuzz.sh
clean:
	rm -rf build
